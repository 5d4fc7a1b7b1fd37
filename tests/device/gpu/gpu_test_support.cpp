#include "tests/device/gpu/gpu_test_support.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>

#include "device/gpu/cuda_device_module.h"
#include "device/gpu/gpu_render.h"
#include "device/gpu/opencl_device_data.h"
#include "device/gpu/opencl_program.h"
#include "platform/opencl_runtime.h"
#include "tests/support/frame_renderer.h"
#include "tests/support/required_parts.h"

namespace spirovault {

Agreement Compare(const FloatFrame& a, const FloatFrame& b, float tolerance) {
    Agreement agreement;
    if (a.size() != b.size() || a.empty()) return agreement;
    size_t within = 0;
    double total = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const float d[4] = {std::fabs(a[i].alpha - b[i].alpha), std::fabs(a[i].red - b[i].red),
                            std::fabs(a[i].green - b[i].green), std::fabs(a[i].blue - b[i].blue)};
        const float worst = *std::max_element(d, d + 4);
        within += worst <= tolerance;
        total += d[0] + d[1] + d[2] + d[3];
        agreement.max_error = std::max(agreement.max_error, static_cast<double>(worst));
    }
    agreement.within_share = static_cast<double>(within) / a.size();
    agreement.mean_error = total / (4.0 * a.size());
    return agreement;
}

FloatFrame RenderOnCpu(const RenderSettings& settings, const FloatFrame* input) {
    return RenderFrameFloat(settings, 0, input);
}

std::vector<hostsim::GpuPixel> ToGpuPixels(const FloatFrame& frame) {
    std::vector<hostsim::GpuPixel> pixels;
    pixels.reserve(frame.size());
    for (const PF_PixelFloat& p : frame)
        pixels.push_back(hostsim::GpuPixel{p.blue, p.green, p.red, p.alpha});
    return pixels;
}

FloatFrame FromGpuPixels(const std::vector<hostsim::GpuPixel>& pixels) {
    FloatFrame frame;
    frame.reserve(pixels.size());
    for (const hostsim::GpuPixel& p : pixels)
        frame.push_back(PF_PixelFloat{p.alpha, p.red, p.green, p.blue});
    return frame;
}

std::string FrameworkName(const ::testing::TestParamInfo<PF_GPU_Framework>& info) {
    return info.param == PF_GPU_Framework_CUDA ? "Cuda" : "OpenCl";
}

namespace {

using namespace hostsim;

struct TestDevice {
    HostServices services;
    PF_Handle handle = nullptr;  // the device handle: OpenCL's kernel, CUDA's module slot
    std::string failure;         // why the device cannot be used; empty when it can

    explicit TestDevice(PF_GPU_Framework framework) {
        if (services.gpu().Open(framework, &failure) != 0) return;
        if (framework == PF_GPU_Framework_OPENCL) BuildKernel();
        if (framework == PF_GPU_Framework_CUDA) MakeCudaHandle();
    }

    ~TestDevice() {
        if (handle == nullptr) return;
        void* block = services.handles().Lock(handle);
        if (services.handles().Size(handle) == sizeof(CudaDeviceData)) {
            // The module the first render loaded, unloaded in its context.
            const CudaDeviceData data = *static_cast<CudaDeviceData*>(block);
            if (data.module != nullptr) {
                services.gpu().device(0)->MakeCurrent();
                CudaDriver()->ModuleUnload(data.module);
            }
        } else {
            OpenClRuntime()->ReleaseKernel(static_cast<OpenCLDeviceData*>(block)->kernel);
        }
        services.handles().Unlock(handle);
        services.handles().Dispose(handle);
    }

    // The device's handle as setup leaves it: the module is loaded by the first render.
    void MakeCudaHandle() {
        if (CudaDriver() == nullptr) {
            failure = "the plug-in's CUDA driver could not be loaded";
            return;
        }
        handle = services.handles().New(sizeof(CudaDeviceData));
        *static_cast<CudaDeviceData*>(services.handles().Lock(handle)) = CudaDeviceData{};
        services.handles().Unlock(handle);
        services.handles().MarkHostOwned(handle);
    }

    void BuildKernel() {
        const OpenClApi* cl = OpenClRuntime();
        if (cl == nullptr) {
            failure = "the OpenCL runtime could not be loaded";
            return;
        }
        const PF_GPUDeviceInfo info = services.gpu().device(0)->info();
        const std::string directory =
            std::filesystem::path(SPIROVAULT_OPENCL_KERNEL_FILE).parent_path().string();
        cl_kernel kernel = nullptr;
        const cl_int err = BuildSpirovaultKernel(*cl, static_cast<cl_context>(info.contextPV),
                                                 static_cast<cl_device_id>(info.devicePV),
                                                 OpenClBuildOptions(directory), &kernel);
        if (err != CL_SUCCESS) {
            failure = "the kernel did not build: OpenCL error " + std::to_string(err);
            return;
        }
        handle = services.handles().New(sizeof(OpenCLDeviceData));
        static_cast<OpenCLDeviceData*>(services.handles().Lock(handle))->kernel = kernel;
        services.handles().Unlock(handle);
        services.handles().MarkHostOwned(handle);
    }
};

std::map<PF_GPU_Framework, std::unique_ptr<TestDevice>>& Devices() {
    static std::map<PF_GPU_Framework, std::unique_ptr<TestDevice>> devices;
    return devices;
}

// Opened from the test's thread in SetUp; render threads only look it up.
TestDevice& DeviceFor(PF_GPU_Framework framework) {
    auto& devices = Devices();
    const auto found = devices.find(framework);
    if (found != devices.end()) return *found->second;
    return *devices.emplace(framework, std::make_unique<TestDevice>(framework)).first->second;
}

}  // namespace

void GpuRenderTest::TearDownTestSuite() {
    Devices().clear();
}

void GpuRenderTest::SetUp() {
    TestDevice& device = DeviceFor(framework());
    if (device.services.gpu().count() == 0) {
        SPIROVAULT_DEVICE_MISSING(framework() == PF_GPU_Framework_OPENCL) << device.failure;
    }
    ASSERT_TRUE(device.failure.empty()) << device.failure;
}

void GpuRenderTest::TearDown() {
    EXPECT_TRUE(services().suites().Outstanding().empty());
    EXPECT_EQ(gpu().live_worlds(), 0u);
}

HostServices& GpuRenderTest::services() {
    return DeviceFor(framework()).services;
}

PF_Handle GpuRenderTest::device_handle() {
    return DeviceFor(framework()).handle;
}

PF_Err GpuRenderTest::RenderWorlds(RenderSettings* record, PF_EffectWorld* input,
                                   PF_EffectWorld* output, PrPixelFormat format) {
    ActiveServicesScope active(&services());
    GpuDevice* device = gpu().device(0);
    device->MakeCurrent();
    PF_InData in_data{};
    in_data.pica_basicP = HostServices::BasicSuite();
    in_data.effect_ref = services().EffectRef();
    PF_OutData out_data{};
    PF_SmartRenderInput smart_input{};
    smart_input.pre_render_data = record;
    smart_input.gpu_data = device_handle();
    smart_input.what_gpu = framework();
    smart_input.device_index = 0;
    PF_SmartRenderExtra extra{&smart_input, nullptr};
    const PF_Err err = RenderGPU(&in_data, &out_data, format, input, output, &extra, record);
    device->Finish();
    return err;
}

FloatFrame GpuRenderTest::RenderOnGpu(RenderSettings record, const FloatFrame* input, PF_Err* err) {
    const int width = record.output_width;
    const int height = record.output_height;
    PF_EffectWorld* output = gpu().CreateWorld(0, width, height);
    PF_EffectWorld* input_world = nullptr;
    if (input != nullptr) {
        input_world = gpu().CreateWorld(0, width, height);
        gpu().Upload(input_world, ToGpuPixels(*input));
    }
    const PF_Err result = RenderWorlds(&record, input_world, output);
    if (err != nullptr) *err = result;
    FloatFrame frame = FromGpuPixels(gpu().Download(output));
    gpu().DisposeWorld(output);
    if (input_world != nullptr) gpu().DisposeWorld(input_world);
    return frame;
}

}  // namespace spirovault
