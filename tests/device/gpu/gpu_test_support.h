// The standalone host's GPU devices with the GPU render driven the way the smart render drives
// it, for comparing GPU frames with the CPU renderer's. Tests run once per framework (OpenCL:
// PoCL here; CUDA where a GPU is present) and skip where the machine has no such device.
#ifndef SPIROVAULT_TESTS_DEVICE_GPU_GPU_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_DEVICE_GPU_GPU_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/pf_pixel.h"
#include "hostsim/host_services.h"
#include "kernel/settings.h"

namespace spirovault {

// A frame as float pixels in the host's channel order (alpha, red, green, blue), rows packed.
using FloatFrame = std::vector<PF_PixelFloat>;

struct Agreement {
    double within_share = 0;  // share of pixels whose four channels are all within tolerance
    double mean_error = 0;    // mean absolute channel difference
    double max_error = 0;
};
Agreement Compare(const FloatFrame& a, const FloatFrame& b, float tolerance);

FloatFrame RenderOnCpu(const RenderSettings& settings, const FloatFrame* input = nullptr);

std::vector<hostsim::GpuPixel> ToGpuPixels(const FloatFrame& frame);
FloatFrame FromGpuPixels(const std::vector<hostsim::GpuPixel>& pixels);

// Device 0 of its own host services, opened once per process and framework; for OpenCL the
// kernel is built from the installed kernel file and kept in a device handle, as device setup
// leaves it.
class GpuRenderTest : public ::testing::TestWithParam<PF_GPU_Framework> {
  protected:
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    PF_GPU_Framework framework() const { return GetParam(); }
    hostsim::HostServices& services();
    hostsim::GpuDevices& gpu() { return services().gpu(); }
    PF_Handle device_handle();

    // Runs the GPU render for the record on new worlds and reads the output back.
    // `input` null: no input world at all.
    FloatFrame RenderOnGpu(RenderSettings record, const FloatFrame* input = nullptr,
                           PF_Err* err = nullptr);
    // The render as the smart render calls it, on the given worlds, and waits for the device.
    PF_Err RenderWorlds(RenderSettings* record, PF_EffectWorld* input, PF_EffectWorld* output,
                        PrPixelFormat format = PF_PixelFormat_GPU_BGRA128);
};

// "OpenCl" / "Cuda", for test names.
std::string FrameworkName(const ::testing::TestParamInfo<PF_GPU_Framework>& info);

#define SPIROVAULT_ON_EVERY_GPU_FRAMEWORK(suite)                                          \
    INSTANTIATE_TEST_SUITE_P(, suite,                                                     \
                             ::testing::Values(PF_GPU_Framework{PF_GPU_Framework_OPENCL}, \
                                               PF_GPU_Framework{PF_GPU_Framework_CUDA}),  \
                             FrameworkName)

}  // namespace spirovault

#endif
