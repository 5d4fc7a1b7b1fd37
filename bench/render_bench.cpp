// Throughput of the render core: estimates per second near the surface, and pixels per second
// of the default view on one thread and on all of them.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "offhost/frame_renderer.h"
#include "render/pixel_sampling.h"

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

void BM_DefaultView(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int threads = static_cast<int>(state.range(2));
    const RenderSettings s = MakeDefaultRenderSettings(width, height);
    for (auto _ : state) benchmark::DoNotOptimize(RenderFrameFloat(s, threads));
    state.SetItemsProcessed(state.iterations() * width * height);
    state.counters["threads"] = threads;
}
BENCHMARK(BM_DefaultView)
    ->Args({160, 90, 1})
    ->Args({160, 90, static_cast<int>(std::thread::hardware_concurrency())})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
