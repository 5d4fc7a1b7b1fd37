// Throughput: estimates per second near the surface (the core alone, each CPU row path), and
// pixels per second of the default view through the plug-in in the standalone host, at two sizes,
// on one thread and on two, for each CPU row path the processor runs: the trigonometric power
// step one pixel at a time (the earlier renderer), the trigonometry-free step on one lane, and
// packets of 4, 8 and 16 lanes. SPIROVAULT_CPU_LANES picks the path, as in the plug-in. And the
// time a heavy frame takes to come back once the user cancels it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "hostsim/effect_host.h"
#include "kernel/cpu/cpu_lanes.h"
#include "kernel/pixel_sampling.h"
#include "params/param_table.h"
#include "tests/support/frame_renderer.h"

using namespace spirovault;

namespace {

using namespace hostsim;

struct Path {
    const char* name;  // as SPIROVAULT_CPU_LANES names it
    CpuRowPath path;
};
const Path kPaths[] = {{"trig", CpuRowPath::kTrigStep},
                       {"1", CpuRowPath::kLanes1},
                       {"4", CpuRowPath::kLanes4},
                       {"8", CpuRowPath::kLanes8},
                       {"16", CpuRowPath::kLanes16}};

bool Runs(CpuRowPath path) {
    return LanesOf(path) <= LanesOf(WidestCpuRowPath());
}

// Points just off the surface of the default fractal, where marching spends its time.
void NearSurfacePoints(const RenderSettings& s, std::vector<float>* x, std::vector<float>* y,
                       std::vector<float>* z) {
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    const PixelPlan plan = MakePixelPlan(&s, &vf, 1);
    for (int py = 0; py < s.output_height; py += 3) {
        for (int px = 0; px < s.output_width; px += 3) {
            Vec3 o, d;
            float t_focus;
            SampleCameraRay(&s, &vf, &plan, px, py, 0, 0, 0, &o, &d, &t_focus);
            MarchHit hit;
            if (MarchPrimary(o, d, &s, vf.step_budget, vf.footprint, &hit)) {
                const Vec3 p = AddVec3(hit.point, ScaleVec3(d, -0.01f));
                x->push_back(p.x), y->push_back(p.y), z->push_back(p.z);
            }
        }
    }
}

void BM_EstimatesNearSurface(benchmark::State& state, CpuRowPath path) {
    if (!Runs(path)) {
        state.SkipWithError("the processor lacks these instructions");
        return;
    }
    const RenderSettings s = MakeDefaultRenderSettings(160, 90);
    std::vector<float> x, y, z;
    NearSurfacePoints(s, &x, &y, &z);
    const int count = static_cast<int>(x.size());
    std::vector<float> distance(count), trap(count);
    const EstimateSpanFn estimate = EstimateSpanFor(path);
    for (auto _ : state) {
        std::fill(trap.begin(), trap.end(), 4.0f);
        estimate(&s, x.data(), y.data(), z.data(), count, distance.data(), trap.data());
        benchmark::DoNotOptimize(distance.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// Pre-render, smart render with the host's iterate suite, disposal: the whole frame as the host
// asks for it, in float.
void BM_PluginDefaultView(benchmark::State& state, Path path) {
    if (!Runs(path.path)) {
        state.SkipWithError("the processor lacks these instructions");
        return;
    }
    setenv("SPIROVAULT_CPU_LANES", path.name, 1);
    EffectHost host(SPIROVAULT_PLUGIN_PATH);
    FrameRequest request;
    request.width = static_cast<int>(state.range(0));
    request.height = static_cast<int>(state.range(1));
    request.threads = static_cast<int>(state.range(2));
    request.depth = WorldDepth::k32;
    request.keep_raw = false;
    host.services().composition().width = request.width;
    host.services().composition().height = request.height;
    for (auto _ : state) {
        const FrameResult frame = host.RenderFrame(request);
        if (frame.err != PF_Err_NONE) {
            state.SkipWithError("the frame failed");
            break;
        }
        benchmark::DoNotOptimize(frame.output.argb.data());
    }
    unsetenv("SPIROVAULT_CPU_LANES");
    state.SetItemsProcessed(state.iterations() * request.width * request.height);
    state.counters["threads"] = request.threads;
}

// A heavy frame (supersampling 4, raytraced occlusion of 16 rays, soft shadows of 64 samples)
// cancelled 100 ms in by the host's flag, as the renderer's Ctrl-C does: the time from the flag to
// the frame's return. Counters: the median and the worst of the runs.
void BM_CancelLatency(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    EffectHost host(SPIROVAULT_PLUGIN_PATH);
    host.GlobalSetup();
    host.ParamsSetup();
    ParamStore& params = host.services().params();
    params.SetValue(kParamSupersampling, 4);
    params.SetValue(kParamAoType, 2);
    params.SetValue(kParamAoSamples, 16);
    params.SetValue(kParamLightSize, 3);
    params.SetValue(kParamShadowSamples, 64);
    FrameRequest request;
    request.width = 384;
    request.height = 216;
    request.threads = static_cast<int>(state.range(0));
    request.depth = WorldDepth::k32;
    request.keep_raw = false;
    host.services().composition().width = request.width;
    host.services().composition().height = request.height;
    std::vector<double> latencies;
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        request.cancel = [&cancel] { return cancel.load(); };
        Clock::time_point cancelled_at;
        std::thread user([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cancelled_at = Clock::now();
            cancel = true;
        });
        const FrameResult frame = host.RenderFrame(request);
        const Clock::time_point returned = Clock::now();
        user.join();
        if (frame.err != PF_Interrupt_CANCEL) {
            state.SkipWithError("the frame was not cancelled");
            return;
        }
        const double seconds = std::chrono::duration<double>(returned - cancelled_at).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["worst_ms"] = latencies.back();
    state.counters["threads"] = request.threads;
}

int RegisterAll() {
    for (const Path& path : kPaths) {
        const std::string lanes = path.path == CpuRowPath::kTrigStep ? "trig" : path.name;
        benchmark::RegisterBenchmark(("Estimates/" + lanes).c_str(), BM_EstimatesNearSurface,
                                     path.path);
    }
    for (const Path& path : kPaths) {
        benchmark::RegisterBenchmark((std::string("DefaultView/") + path.name).c_str(),
                                     BM_PluginDefaultView, path)
            ->ArgNames({"w", "h", "threads"})
            ->Args({480, 270, 1})
            ->Args({480, 270, 2})
            ->Args({960, 540, 1})
            ->Args({960, 540, 2})
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()  // every render thread's time, not the caller's alone
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("CancelLatency", BM_CancelLatency)
        ->ArgNames({"threads"})
        ->Arg(1)
        ->Arg(0)
        ->Iterations(20)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    return 0;
}
const int kRegistered = RegisterAll();

}  // namespace

BENCHMARK_MAIN();
