// The same frame through the plug-in on the CPU path (the host's iterate suite on all cores) and
// on the GPU path of each device the machine offers (OpenCL: PoCL on the CPU here; CUDA where a
// GPU is present): pre-render, smart render, the output read back, disposal. 480 x 270, float.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "hostsim/effect_host.h"

namespace {

using namespace hostsim;

constexpr int kWidth = 480;
constexpr int kHeight = 270;

void BM_PluginFrame(benchmark::State& state, PF_GPU_Framework gpu, bool trig_step) {
    // Read when the device's kernel is built, at the first frame.
    if (trig_step) setenv("SPIROVAULT_GPU_TRIG_STEP", "1", 1);
    EffectHost host(SPIROVAULT_PLUGIN_PATH);
    host.services().composition().width = kWidth;
    host.services().composition().height = kHeight;
    FrameRequest request;
    request.width = kWidth;
    request.height = kHeight;
    request.depth = WorldDepth::k32;
    request.keep_raw = false;
    request.gpu = gpu;
    // The first frame sets the device up (and builds the OpenCL program); that is not a frame.
    try {
        const FrameResult first = host.RenderFrame(request);
        if (first.err != PF_Err_NONE || first.on_gpu != (gpu != PF_GPU_Framework_NONE)) {
            state.SkipWithError("the frame did not render on this path");
            unsetenv("SPIROVAULT_GPU_TRIG_STEP");
            return;
        }
    } catch (const std::runtime_error& error) {
        state.SkipWithError(error.what());
        unsetenv("SPIROVAULT_GPU_TRIG_STEP");
        return;
    }
    unsetenv("SPIROVAULT_GPU_TRIG_STEP");
    for (auto _ : state) {
        const FrameResult frame = host.RenderFrame(request);
        if (frame.err != PF_Err_NONE) {
            state.SkipWithError("the frame failed");
            break;
        }
        benchmark::DoNotOptimize(frame.output.argb.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    if (gpu != PF_GPU_Framework_NONE) {
        state.SetLabel(host.services().gpu().device(0)->name());
    }
}
// Each device path twice: with the kernel built for the trigonometric power step (the earlier
// kernel) and as shipped. CUDA's kernel is compiled ahead of time, as shipped only.
BENCHMARK_CAPTURE(BM_PluginFrame, Cpu, PF_GPU_Framework{PF_GPU_Framework_NONE}, false)
    ->Name("Frame480x270/cpu_all_cores")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PluginFrame, OpenClTrig, PF_GPU_Framework{PF_GPU_Framework_OPENCL}, true)
    ->Name("Frame480x270/opencl_trig_step")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PluginFrame, OpenCl, PF_GPU_Framework{PF_GPU_Framework_OPENCL}, false)
    ->Name("Frame480x270/opencl")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PluginFrame, Cuda, PF_GPU_Framework{PF_GPU_Framework_CUDA}, false)
    ->Name("Frame480x270/cuda")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
