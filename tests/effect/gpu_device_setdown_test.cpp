// Teardown of what GPU device setup keeps per device.
#include <gtest/gtest.h>

#include <cstring>

#include "host/pf_gpu_framework.h"
#include "host/pf_handle_suite.h"
#include "tests/support/plugin_host_fixture.h"

class GpuDeviceSetdown : public PluginHostTest {
  protected:
    hostsim::CommandResult Setdown(PF_GPU_Framework framework, void* gpu_data) {
        PF_GPUDeviceSetdownInput input{gpu_data, framework, 0};
        PF_GPUDeviceSetdownExtra extra{&input};
        return host().Send(PF_Cmd_GPU_DEVICE_SETDOWN, &extra);
    }
    // The 8-byte block of an OpenCL device without a kernel.
    PF_Handle DeviceHandle() {
        PF_Handle handle = handles().New(8);
        auto* block = static_cast<void**>(handles().Lock(handle));
        *block = nullptr;
        handles().Unlock(handle);
        handles().MarkHostOwned(handle);
        return handle;
    }
};

TEST_F(GpuDeviceSetdown, OtherDevicesTouchNoHandle) {
    PF_Handle handle = DeviceHandle();
    for (PF_GPU_Framework framework : {PF_GPU_Framework{PF_GPU_Framework_METAL}, 0, 7}) {
        const hostsim::CommandResult result = Setdown(framework, handle);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(handles().IsLive(handle));
        EXPECT_CLEAN(result);
    }
    EXPECT_EQ(suites().CountsFor(kPFHandleSuite, kPFHandleSuiteVersion1).acquires, 0);
    handles().Dispose(handle);
}

TEST_F(GpuDeviceSetdown, DeviceHandleWithNothingLoadedIsDisposed) {
    // An OpenCL device without a kernel, a CUDA device before its first frame: all zero.
    for (PF_GPU_Framework framework :
         {PF_GPU_Framework{PF_GPU_Framework_OPENCL}, PF_GPU_Framework{PF_GPU_Framework_CUDA}}) {
        PF_Handle handle = handles().New(24);
        std::memset(handles().Lock(handle), 0, 24);
        handles().Unlock(handle);
        handles().MarkHostOwned(handle);
        const hostsim::CommandResult result = Setdown(framework, handle);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_FALSE(handles().IsLive(handle));
        EXPECT_CLEAN(result);
    }
}

TEST_F(GpuDeviceSetdown, MissingHandleSuiteReportsAndKeepsTheHandle) {
    Withhold(kPFHandleSuite, kPFHandleSuiteVersion1);
    PF_Handle handle = DeviceHandle();
    const hostsim::CommandResult result = Setdown(PF_GPU_Framework_OPENCL, handle);
    EXPECT_EQ(result.err, A_Err_MISSING_SUITE);
    EXPECT_STREQ(result.out_data.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(handles().IsLive(handle));
    EXPECT_CLEAN(result);
    handles().Dispose(handle);
}
