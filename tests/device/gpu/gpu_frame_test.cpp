// Whole frames through the plug-in on the standalone host's GPU devices (OpenCL: PoCL here; CUDA
// where a GPU is present), compared with the CPU frames of the same parameters, composition and
// layers: the smart-render protocol with GPU worlds and PF_Cmd_SMART_RENDER_GPU, as the host
// application runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "hostsim/gpu_devices/gpu_device_commands.h"
#include "kernel/settings.h"
#include "params/param_table.h"
#include "tests/support/plugin_host_fixture.h"
#include "tests/support/required_parts.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 48, kH = 27;

HostImage Gradient(int width, int height, float alpha) {
    HostImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.argb.insert(image.argb.end(), {alpha, static_cast<float>(x) / (width - 1),
                                                 static_cast<float>(y) / (height - 1), 0.3f});
        }
    }
    return image;
}

class GpuFrame : public PluginHostTest, public ::testing::WithParamInterface<PF_GPU_Framework> {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        comp().width = kW;
        comp().height = kH;
        std::string why_not;
        if (host().services().gpu().Open(GetParam(), &why_not) < 0) {
            SPIROVAULT_DEVICE_MISSING(GetParam() == PF_GPU_Framework_OPENCL) << why_not;
        }
        ASSERT_EQ(host().GlobalSetup().err, PF_Err_NONE);
        ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    }

    Composition& comp() { return host().services().composition(); }

    FrameResult Render(PF_GPU_Framework gpu) {
        FrameRequest request;
        request.width = kW;
        request.height = kH;
        request.depth = WorldDepth::k32;
        request.input = input_.width > 0 ? &input_ : nullptr;
        request.hdri_layer = hdri_.width > 0 ? &hdri_ : nullptr;
        request.gpu = gpu;
        request.region = region_;
        request.downsample_x = downsample_x_;
        request.pixel_aspect = pixel_aspect_;
        FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, PF_Err_NONE) << result.return_msg;
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        EXPECT_EQ(result.on_gpu, gpu != PF_GPU_Framework_NONE);
        return result;
    }

    // Renders the frame on the CPU and on the device and compares them: nearly every
    // pixel within two 8-bit steps, a small mean error (fast-math differences stay at the
    // fractal's chaotic edges).
    void ExpectGpuMatchesCpu(const char* scene) {
        const FrameResult cpu = Render(PF_GPU_Framework_NONE);
        const FrameResult gpu = Render(GetParam());
        ASSERT_EQ(cpu.output.argb.size(), gpu.output.argb.size());
        size_t within = 0, covered = 0;
        double total = 0;
        for (size_t p = 0; p < cpu.output.argb.size(); p += 4) {
            float worst = 0;
            for (size_t c = p; c < p + 4; ++c) {
                const float d = std::fabs(cpu.output.argb[c] - gpu.output.argb[c]);
                worst = std::max(worst, d);
                total += d;
            }
            within += worst <= 2.0f / 255.0f;
            covered += cpu.output.argb[p] > 0.5f;
        }
        const size_t pixels = cpu.output.argb.size() / 4;
        const double share = static_cast<double>(within) / pixels;
        const double mean = total / cpu.output.argb.size();
        std::printf("%-6s %-26s pixels within 2/255: %5.1f %%, mean channel error %.2e\n",
                    GetParam() == PF_GPU_Framework_CUDA ? "CUDA" : "OpenCL", scene, 100 * share,
                    mean);
        EXPECT_GE(share, 0.97) << scene;
        EXPECT_LE(mean, 0.004) << scene;
        EXPECT_GE(covered, pixels / 5) << scene << ": the fractal should fill the frame";
        // The scene shows what it is about: it is not the default frame.
        if (std::string(scene) != "default" && !region_) {
            const FrameResult plain = DefaultFrame();
            double difference = 0;
            for (size_t c = 0; c < plain.output.argb.size(); ++c) {
                difference += std::fabs(plain.output.argb[c] - cpu.output.argb[c]);
            }
            EXPECT_GT(difference / plain.output.argb.size(), 1e-3) << scene;
        }
    }

    // The CPU frame of the default parameters in a bare composition, without layers.
    static FrameResult DefaultFrame() {
        EffectHost other(SPIROVAULT_PLUGIN_PATH);
        other.services().composition().width = kW;
        other.services().composition().height = kH;
        FrameRequest request;
        request.width = kW;
        request.height = kH;
        request.depth = WorldDepth::k32;
        return other.RenderFrame(request);
    }

    HostImage input_;
    HostImage hdri_;
    std::optional<PF_LRect> region_;
    PF_RationalScale downsample_x_{1, 1};
    PF_RationalScale pixel_aspect_{1, 1};
};

TEST_P(GpuFrame, DefaultParameters) {
    ExpectGpuMatchesCpu("default");
}

TEST_P(GpuFrame, JuliaWithRadiolariaAndPhases) {
    params().SetValue(kParamJuliaMode, 1);
    params().SetValue(kParamJuliaX, 0.35);
    params().SetValue(kParamJuliaY, -0.2);
    params().SetValue(kParamRadiolaria, 1);
    params().SetValue(kParamRadiolariaFactor, 0.3);
    params().SetValue(kParamPhaseX, 0.4);
    params().SetValue(kParamPhaseY, -0.25);
    ExpectGpuMatchesCpu("julia radiolaria phases");
}

TEST_P(GpuFrame, RaytracedAmbientOcclusion) {
    params().SetValue(kParamAoType, kAoTypeRaytraced);
    params().SetValue(kParamAoIntensity, 1.0);
    params().SetValue(kParamAoSamples, 6);
    ExpectGpuMatchesCpu("raytraced AO");
}

TEST_P(GpuFrame, CompositionLightWithSoftShadows) {
    CompLayer light;
    light.kind = LayerKind::kLight;
    light.light_type = AEGP_LightType_POINT;
    light.position.Set(Vec3d{kW * 0.9, -kH * 0.5, -60});
    light.color.Set(ColorRgb{1.0, 0.7, 0.4});
    light.streams[AEGP_LayerStream_INTENSITY].Set(150);
    light.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(1);
    light.streams[AEGP_LayerStream_SHADOW_DARKNESS].Set(90);
    light.streams[AEGP_LayerStream_SHADOW_DIFFUSION].Set(3);
    comp().layers.push_back(light);
    params().SetValue(kParamShadowSamples, 4);
    ExpectGpuMatchesCpu("comp light soft shadows");
}

TEST_P(GpuFrame, DepthOfFieldWithHighlightBoost) {
    CompLayer camera;
    camera.kind = LayerKind::kCamera;
    const double zoom = kW * 50.0 / 36.0;
    camera.position.Set(Vec3d{kW / 2.0, kH / 2.0, -zoom});
    camera.streams[AEGP_LayerStream_ZOOM].Set(zoom);
    camera.streams[AEGP_LayerStream_DEPTH_OF_FIELD].Set(1);
    camera.streams[AEGP_LayerStream_FOCUS_DISTANCE].Set(zoom * 0.85);
    camera.streams[AEGP_LayerStream_APERTURE].Set(8);
    camera.streams[AEGP_LayerStream_BLUR_LEVEL].Set(100);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN].Set(60);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD].Set(40);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION].Set(50);
    comp().layers.push_back(camera);
    params().SetValue(kParamDofSamples, 4);
    ExpectGpuMatchesCpu("DoF highlight boost");
}

TEST_P(GpuFrame, EnvironmentWithSpecular) {
    hdri_ = Gradient(8, 4, 1.0f);
    hdri_.argb[4 * 9 + 1] = 6.0f;  // a bright spot above 1.0
    params().SetValue(kParamHdriSamples, 6);
    params().SetValue(kParamHdriSpecular, 1);
    ExpectGpuMatchesCpu("HDRI specular");
}

// The host hands the environment layer as a GPU world, its pixels on the device; a check-out
// that fails or is cancelled is the frame's error, never a frame without its environment.
TEST_P(GpuFrame, EnvironmentCheckOutErrorsComeBackUnchanged) {
    hdri_ = Gradient(8, 4, 1.0f);
    for (const PF_Err fault : {PF_Err{PF_Interrupt_CANCEL}, PF_Err{PF_Err_OUT_OF_MEMORY}}) {
        FrameRequest request;
        request.width = kW;
        request.height = kH;
        request.depth = WorldDepth::k32;
        request.hdri_layer = &hdri_;
        request.gpu = GetParam();
        request.faults.hdri_checkout = fault;
        const FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, fault);
        EXPECT_TRUE(result.on_gpu);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
    }
}

// Every block of device memory comes from the host's suite and goes back to it within the
// frame; a block the host refuses ends the frame with out-of-memory.
TEST_P(GpuFrame, DeviceMemoryComesFromTheHostAndGoesBackEveryFrame) {
    hdri_ = Gradient(8, 4, 1.0f);
    GpuDevices& gpu = host().services().gpu();
    const int before = gpu.host_allocations();
    const FrameResult frame = Render(GetParam());
    EXPECT_EQ(frame.audit.device_memory_blocks, 0u);
    // The frame's three worlds (input, output, environment) and the effect's three tables.
    EXPECT_EQ(gpu.host_allocations() - before, 3 + 3);
    EXPECT_EQ(gpu.effect_blocks(), 0u);
    for (int refused = 1; refused <= 3; ++refused) {
        gpu.FailEffectAllocation(refused);
        FrameRequest request;
        request.width = kW;
        request.height = kH;
        request.depth = WorldDepth::k32;
        request.hdri_layer = &hdri_;
        request.gpu = GetParam();
        const FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY) << refused;
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
    }
    EXPECT_EQ(Render(GetParam()).raw, frame.raw);
}

TEST_P(GpuFrame, CompositeOnOriginalOverTheInput) {
    input_ = Gradient(kW, kH, 0.6f);
    params().SetValue(kParamCompositeOnOriginal, 1);
    ExpectGpuMatchesCpu("composite on original");
}

// A part of the layer, at half resolution across, with pixels wider than tall, over a
// semi-transparent input: the device lays the frame out as the CPU does.
TEST_P(GpuFrame, PartOfTheLayerAtReducedResolution) {
    input_ = Gradient(kW, kH, 0.6f);
    params().SetValue(kParamCompositeOnOriginal, 1);
    region_ = PF_LRect{5, 4, 21, 23};
    downsample_x_ = PF_RationalScale{1, 2};
    pixel_aspect_ = PF_RationalScale{3, 2};
    ExpectGpuMatchesCpu("part at reduced resolution");
}

TEST_P(GpuFrame, DepthMap) {
    params().SetValue(kParamDepthMap, 1);
    ExpectGpuMatchesCpu("depth map");
}

TEST_P(GpuFrame, CancelledFrameIsNeverReportedDone) {
    // The user cancels before the launch, or while the frame is on the device: the effect asks
    // the host once before the launch and once after it.
    FrameRequest request;
    request.width = kW;
    request.height = kH;
    request.depth = WorldDepth::k32;
    request.gpu = GetParam();
    const FrameResult whole = host().RenderFrame(request);
    ASSERT_EQ(whole.err, PF_Err_NONE);
    for (int cancelled_from : {1, 2}) {
        SCOPED_TRACE(cancelled_from);
        std::atomic<int> asked{0};
        FrameRequest cancelled = request;
        cancelled.cancel = [&] { return ++asked >= cancelled_from; };
        const FrameResult result = host().RenderFrame(cancelled);
        EXPECT_TRUE(result.on_gpu);
        EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
        EXPECT_EQ(asked, cancelled_from);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        EXPECT_EQ(host().RenderFrame(request).raw, whole.raw);
    }
}

TEST_P(GpuFrame, DeviceIsSetUpOnceAndSetDownWithTheHost) {
    Render(GetParam());
    Render(GetParam());
    EXPECT_EQ(suites().CountsFor(kPFGPUDeviceSuite, kPFGPUDeviceSuiteVersion1).acquires, 3);
    const GpuDevices::Setup setup = host().services().gpu().setup(0);
    ASSERT_TRUE(setup.done);
    EXPECT_TRUE(setup.accepted);
    // Each device keeps its kernel (OpenCL) or the kernel's module (CUDA) in a handle until
    // setdown.
    const auto handle = static_cast<PF_Handle>(setup.gpu_data);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(handles().IsLive(handle));
    SetDownGpuDevices(host());
    EXPECT_FALSE(handles().IsLive(handle));
}

using GpuFrameRequest = PluginHostTest;

TEST_F(GpuFrameRequest, FrameworkWithoutADeviceIsAnError) {
    FrameRequest request;
    request.width = kW;
    request.height = kH;
    request.gpu = 7;
    EXPECT_THROW(host().RenderFrame(request), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(, GpuFrame,
                         ::testing::Values(PF_GPU_Framework{PF_GPU_Framework_OPENCL},
                                           PF_GPU_Framework{PF_GPU_Framework_CUDA}),
                         [](const ::testing::TestParamInfo<PF_GPU_Framework>& info) {
                             return info.param == PF_GPU_Framework_CUDA ? "Cuda" : "OpenCl";
                         });

}  // namespace
