// The same frame on the CPU path (all cores) and on the GPU path of each device the machine
// offers (OpenCL: PoCL on the CPU here; CUDA where a GPU is present), in pixels per second.
// A GPU frame counts from the upload of its tables to the output being ready on the device.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "drivers/gpu_render.h"
#include "drivers/opencl_device_data.h"
#include "drivers/opencl_program.h"
#include "drivers/opencl_runtime.h"
#include "offhost/frame_renderer.h"
#include "standalone/host_services.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 270;

void BM_CpuFrame(benchmark::State& state) {
    const RenderSettings s = MakeDefaultRenderSettings(kWidth, kHeight);
    for (auto _ : state) benchmark::DoNotOptimize(RenderFrameFloat(s, 0));
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_CpuFrame)
    ->Name("CpuFrame/480x270/all_cores")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One device of the standalone host, ready to render: the OpenCL kernel built and kept in a
// device handle as device setup leaves it.
struct BenchDevice {
    HostServices services;
    PF_GPU_Framework framework = PF_GPU_Framework_NONE;
    PF_Handle handle = nullptr;
    std::string name;

    bool Open(PF_GPU_Framework wanted) {
        if (services.gpu().Open(wanted) != 0) return false;
        framework = wanted;
        GpuDevice* device = services.gpu().device(0);
        name = device->name();
        if (framework != PF_GPU_Framework_OPENCL) return true;
        const OpenClApi* cl = OpenClRuntime();
        if (cl == nullptr) return false;
        const PF_GPUDeviceInfo info = device->info();
        cl_kernel kernel = nullptr;
        const std::string directory =
            std::filesystem::path(SPIROVAULT_OPENCL_KERNEL_FILE).parent_path().string();
        if (BuildSpirovaultKernel(*cl, static_cast<cl_context>(info.contextPV),
                                  static_cast<cl_device_id>(info.devicePV),
                                  OpenClBuildOptions(directory), &kernel) != CL_SUCCESS) {
            return false;
        }
        handle = services.handles().New(sizeof(OpenCLDeviceData));
        static_cast<OpenCLDeviceData*>(services.handles().Lock(handle))->kernel = kernel;
        services.handles().Unlock(handle);
        return true;
    }

    PF_Err Render(RenderSettings* record, PF_EffectWorld* output) {
        ActiveServicesScope active(&services);
        services.gpu().device(0)->MakeCurrent();
        PF_InData in_data{};
        in_data.pica_basicP = HostServices::BasicSuite();
        in_data.effect_ref = services.EffectRef();
        PF_OutData out_data{};
        PF_SmartRenderInput input{};
        input.pre_render_data = record;
        input.gpu_data = handle;
        input.what_gpu = framework;
        PF_SmartRenderExtra extra{&input, nullptr};
        const PF_Err err = RenderGPU(&in_data, &out_data, PF_PixelFormat_GPU_BGRA128, nullptr,
                                     output, &extra, record);
        services.gpu().device(0)->Finish();
        return err;
    }
};

void BM_GpuFrame(benchmark::State& state, PF_GPU_Framework framework) {
    auto device = std::make_unique<BenchDevice>();
    if (!device->Open(framework)) {
        state.SkipWithError("no device of this framework");
        return;
    }
    RenderSettings s = MakeDefaultRenderSettings(kWidth, kHeight);
    PF_EffectWorld* output = device->services.gpu().CreateWorld(0, kWidth, kHeight);
    // The first launch may compile the kernel for its work-group size; that is not a frame.
    device->Render(&s, output);
    for (auto _ : state) {
        if (device->Render(&s, output) != PF_Err_NONE) {
            state.SkipWithError("the GPU render failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    state.SetLabel(device->name);
    device->services.gpu().DisposeWorld(output);
}
BENCHMARK_CAPTURE(BM_GpuFrame, OpenCl, PF_GPU_Framework{PF_GPU_Framework_OPENCL})
    ->Name("OpenClFrame/480x270")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_GpuFrame, Cuda, PF_GPU_Framework{PF_GPU_Framework_CUDA})
    ->Name("CudaFrame/480x270")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
