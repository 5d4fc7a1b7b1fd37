// The plug-in in a process whose CUDA driver it cannot use: in a build with the CUDA kernel, a
// driver lacking an entry point (the stand-in without cuLaunchKernel); in a build without it,
// the complete stand-in. Either way the host's CUDA device opens, the plug-in declines it, and
// the host renders the frame on the CPU.
#include <gtest/gtest.h>

#include "hostsim/gpu_devices/gpu_device_commands.h"
#include "tests/cuda_driver_stand_in/stand_in_control.h"
#include "tests/support/plugin_host_fixture.h"

TEST_F(PluginHostTest, CudaDeviceTheEffectCannotUseLeavesTheFrameToTheCpu) {
    StandInReset(1, 8, 6);
    ASSERT_GE(host().services().gpu().Open(PF_GPU_Framework_CUDA), 0);
    ASSERT_EQ(host().GlobalSetup().err, PF_Err_NONE);
    ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    host().services().composition().width = 24;
    host().services().composition().height = 16;
    hostsim::FrameRequest request;
    request.width = 24;
    request.height = 16;
    request.depth = hostsim::WorldDepth::k32;
    request.gpu = PF_GPU_Framework_CUDA;
    const hostsim::FrameResult result = host().RenderFrame(request);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_FALSE(result.on_gpu);
    EXPECT_FALSE(host().services().gpu().setup(0).accepted);
    EXPECT_EQ(StandInModuleCount(), 0);
    // The CPU drew the fractal over part of the frame.
    float alpha = 0;
    for (size_t p = 0; p < result.output.argb.size(); p += 4) alpha += result.output.argb[p];
    EXPECT_GT(alpha, 0.0f);
    hostsim::SetDownGpuDevices(host());
}
