#include "tests/gpu/gpu_test_support.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "drivers/gpu_render.h"
#include "drivers/opencl_device_data.h"
#include "drivers/opencl_program.h"
#include "drivers/opencl_runtime.h"
#include "offhost/frame_renderer.h"

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

std::vector<GpuPixel> ToGpuPixels(const FloatFrame& frame) {
    std::vector<GpuPixel> pixels;
    pixels.reserve(frame.size());
    for (const PF_PixelFloat& p : frame)
        pixels.push_back(GpuPixel{p.blue, p.green, p.red, p.alpha});
    return pixels;
}

FloatFrame FromGpuPixels(const std::vector<GpuPixel>& pixels) {
    FloatFrame frame;
    frame.reserve(pixels.size());
    for (const GpuPixel& p : pixels)
        frame.push_back(PF_PixelFloat{p.alpha, p.red, p.green, p.blue});
    return frame;
}

HostServices* OpenClRenderTest::services_ = nullptr;
PF_Handle OpenClRenderTest::device_handle_ = nullptr;
std::string OpenClRenderTest::setup_failure_;

void OpenClRenderTest::SetUpTestSuite() {
    services_ = new HostServices();
    std::string why_not;
    if (services_->gpu().Open(PF_GPU_Framework_OPENCL, &why_not) != 0) {
        setup_failure_ = why_not;
        return;
    }
    const OpenClApi* cl = OpenClRuntime();
    if (cl == nullptr) {
        setup_failure_ = "the OpenCL runtime could not be loaded";
        return;
    }
    const PF_GPUDeviceInfo info = services_->gpu().device(0)->info();
    const std::string directory =
        std::filesystem::path(SPIROVAULT_OPENCL_KERNEL_FILE).parent_path().string();
    cl_kernel kernel = nullptr;
    const cl_int err = BuildSpirovaultKernel(*cl, static_cast<cl_context>(info.contextPV),
                                             static_cast<cl_device_id>(info.devicePV),
                                             OpenClBuildOptions(directory), &kernel);
    if (err != CL_SUCCESS) {
        setup_failure_ = "the kernel did not build: " + std::to_string(err);
        return;
    }
    device_handle_ = services_->handles().New(sizeof(OpenCLDeviceData));
    static_cast<OpenCLDeviceData*>(services_->handles().Lock(device_handle_))->kernel = kernel;
    services_->handles().Unlock(device_handle_);
    services_->handles().MarkHostOwned(device_handle_);
    services_->gpu().set_gpu_data(0, device_handle_);
}

void OpenClRenderTest::TearDownTestSuite() {
    if (device_handle_ != nullptr) {
        auto* data = static_cast<OpenCLDeviceData*>(services_->handles().Lock(device_handle_));
        OpenClRuntime()->ReleaseKernel(data->kernel);
        services_->handles().Unlock(device_handle_);
        services_->handles().Dispose(device_handle_);
        device_handle_ = nullptr;
    }
    delete services_;
    services_ = nullptr;
}

void OpenClRenderTest::SetUp() {
    if (services_->gpu().count() == 0) GTEST_SKIP() << setup_failure_;
    ASSERT_NE(device_handle_, nullptr) << setup_failure_;
}

void OpenClRenderTest::TearDown() {
    EXPECT_TRUE(services_->suites().Outstanding().empty());
    EXPECT_EQ(services_->gpu().live_worlds(), 0u);
}

PF_Err OpenClRenderTest::RenderWorlds(RenderSettings* record, PF_EffectWorld* input,
                                      PF_EffectWorld* output, PrPixelFormat format) {
    ActiveServicesScope active(services_);
    PF_InData in_data{};
    in_data.pica_basicP = HostServices::BasicSuite();
    in_data.effect_ref = services_->EffectRef();
    PF_OutData out_data{};
    PF_SmartRenderInput smart_input{};
    smart_input.pre_render_data = record;
    smart_input.gpu_data = device_handle_;
    smart_input.what_gpu = PF_GPU_Framework_OPENCL;
    smart_input.device_index = 0;
    PF_SmartRenderExtra extra{&smart_input, nullptr};
    return RenderGPU(&in_data, &out_data, format, input, output, &extra, record);
}

FloatFrame OpenClRenderTest::RenderOnGpu(RenderSettings record, const FloatFrame* input,
                                         PF_Err* err) {
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
