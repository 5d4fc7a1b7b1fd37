#include "tests/support/frame_renderer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "device/cpu/cpu_pixel_callbacks.h"
#include "frame/comp_camera.h"
#include "params/param_values.h"

namespace spirovault {

namespace {

template <typename Pixel>
using PixelFn = PF_Err (*)(void*, A_long, A_long, Pixel*, Pixel*);

template <typename Pixel>
std::vector<Pixel> RenderFrame(const RenderSettings& settings, int threads,
                               const std::vector<Pixel>* input, PixelFn<Pixel> fn) {
    const int width = settings.output_width;
    std::vector<Pixel> frame(static_cast<size_t>(width) * settings.output_height);
    // The callbacks take a mutable input pointer, as the host's do; they only read it.
    auto* in_pixels = input != nullptr ? const_cast<Pixel*>(input->data()) : nullptr;
    CpuFrame cpu_frame = MakeCpuFrame(&settings);
    void* refcon = &cpu_frame;
    ForEachRow(settings.output_height, threads, [&](int y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * width + x;
            fn(refcon, x, y, in_pixels != nullptr ? &in_pixels[at] : nullptr, &frame[at]);
        }
    });
    return frame;
}

}  // namespace

RenderSettings MakeDefaultRenderSettings(int width, int height) {
    RenderSettings s;
    std::memset(&s, 0, sizeof s);
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    StoreParamValues(DefaultParamValues(), &ramp, &s);
    const float scale = CompScale(static_cast<float>(height));
    s.depth_start *= scale;
    s.depth_end *= scale;
    SetDefaultCompCamera(static_cast<float>(width), static_cast<float>(height), scale, &s);
    s.output_width = width;
    s.output_height = height;
    s.row_step = 1;
    s.pixel_aspect = 1.0f;
    return s;
}

void ForEachRow(int height, int threads, const std::function<void(int)>& row) {
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, std::max(height, 1));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int y = next++; y < height; y = next++) row(y);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (auto& thread : pool) thread.join();
}

std::vector<PF_PixelFloat> RenderFrameFloat(const RenderSettings& settings, int threads,
                                            const std::vector<PF_PixelFloat>* input) {
    return RenderFrame<PF_PixelFloat>(settings, threads, input, RenderPixelFloat);
}

std::vector<PF_Pixel16> RenderFrame16(const RenderSettings& settings, int threads,
                                      const std::vector<PF_Pixel16>* input) {
    return RenderFrame<PF_Pixel16>(settings, threads, input, RenderPixel16);
}

std::vector<PF_Pixel8> RenderFrame8(const RenderSettings& settings, int threads,
                                    const std::vector<PF_Pixel8>* input) {
    return RenderFrame<PF_Pixel8>(settings, threads, input, RenderPixel8);
}

}  // namespace spirovault
