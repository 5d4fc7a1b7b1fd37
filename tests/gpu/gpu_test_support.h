// An OpenCL device of the standalone host with the kernel built on it, and the GPU render driven
// the way the smart render drives it, for comparing GPU frames with the CPU renderer's.
#ifndef SPIROVAULT_TESTS_GPU_GPU_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_GPU_GPU_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/pf_pixel.h"
#include "render/settings.h"
#include "standalone/host_services.h"

// A frame as float pixels in the host's channel order (alpha, red, green, blue), rows packed.
using FloatFrame = std::vector<PF_PixelFloat>;

struct Agreement {
    double within_share = 0;  // share of pixels whose four channels are all within tolerance
    double mean_error = 0;    // mean absolute channel difference
    double max_error = 0;
};
Agreement Compare(const FloatFrame& a, const FloatFrame& b, float tolerance);

FloatFrame RenderOnCpu(const RenderSettings& settings, const FloatFrame* input = nullptr);

std::vector<GpuPixel> ToGpuPixels(const FloatFrame& frame);
FloatFrame FromGpuPixels(const std::vector<GpuPixel>& pixels);

// The standalone host's OpenCL device with "SpirovaultKernel" built from the installed kernel
// file and kept in a device handle, as device setup leaves it. Skips when there is no device.
class OpenClRenderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Runs the GPU render for the record on new worlds and reads the output back.
    // `input` null: no input world at all.
    FloatFrame RenderOnGpu(RenderSettings record, const FloatFrame* input = nullptr,
                           PF_Err* err = nullptr);

    // The render as the smart render calls it, on the given worlds.
    PF_Err RenderWorlds(RenderSettings* record, PF_EffectWorld* input, PF_EffectWorld* output,
                        PrPixelFormat format = 0x41444340);

    static HostServices& services() { return *services_; }
    static GpuDevices& gpu() { return services_->gpu(); }
    static PF_Handle device_handle() { return device_handle_; }

    static HostServices* services_;
    static PF_Handle device_handle_;
    static std::string setup_failure_;
};

#endif
