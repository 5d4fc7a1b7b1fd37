// Throughput: estimates per second near the surface (the core alone), and pixels per second of
// the default view through the plug-in in the standalone host, on one thread and on all of them.
#include <benchmark/benchmark.h>

#include <vector>

#include "offhost/frame_renderer.h"
#include "render/pixel_sampling.h"
#include "standalone/effect_host.h"
#include "standalone/render/row_pool.h"

namespace {

// Points just off the surface of the default fractal, where marching spends its time.
std::vector<Vec3> NearSurfacePoints(const RenderSettings& s) {
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    std::vector<Vec3> points;
    for (int y = 0; y < s.output_height; y += 3) {
        for (int x = 0; x < s.output_width; x += 3) {
            float u, v;
            SampleScreenPosition(&s, x, y, 0, 0, 1, &u, &v);
            const Vec3 d =
                NormalizeVec3(AddVec3(AddVec3(ScaleVec3(vf.right, u), ScaleVec3(vf.up, v)),
                                      ScaleVec3(vf.forward, 1.0f / s.tan_half_fov)));
            MarchHit hit;
            if (MarchPrimary(vf.eye, d, &s, vf.step_budget, vf.footprint, &hit)) {
                points.push_back(AddVec3(hit.point, ScaleVec3(d, -0.01f)));
            }
        }
    }
    return points;
}

void BM_EstimateDistanceNearSurface(benchmark::State& state) {
    const RenderSettings s = MakeDefaultRenderSettings(160, 90);
    const std::vector<Vec3> points = NearSurfacePoints(s);
    size_t i = 0;
    for (auto _ : state) {
        float trap = 4.0f;
        benchmark::DoNotOptimize(EstimateDistance(points[i], &trap, &s));
        i = (i + 1) % points.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EstimateDistanceNearSurface);

// Pre-render, smart render with the host's iterate suite, disposal: the whole frame as the host
// asks for it, in float.
void BM_PluginDefaultView(benchmark::State& state) {
    EffectHost host(SPIROVAULT_PLUGIN_PATH);
    FrameRequest request;
    request.width = static_cast<int>(state.range(0));
    request.height = static_cast<int>(state.range(1));
    request.threads = static_cast<int>(state.range(2));
    request.depth = WorldDepth::k32;
    host.services().composition().width = request.width;
    host.services().composition().height = request.height;
    for (auto _ : state) {
        const FrameResult frame = host.RenderFrame(request);
        if (frame.err != PF_Err_NONE) {
            state.SkipWithError("the frame failed");
            break;
        }
        benchmark::DoNotOptimize(frame.raw.data());
    }
    state.SetItemsProcessed(state.iterations() * request.width * request.height);
    state.counters["threads"] = request.threads;
}
BENCHMARK(BM_PluginDefaultView)
    ->Args({480, 270, 1})
    ->Args({480, 270, AllCoresThreadCount()})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
