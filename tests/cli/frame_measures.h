// How clean a rendered frame looks, counted over the pixels the object covers (alpha about 1):
// fireflies are pixels more than 0.25 brighter than the median of their 3 x 3 neighbourhood
// on the object (brightness: the mean of red, green and blue), clipped pixels are pure white.
#ifndef SPIROVAULT_TESTS_CLI_FRAME_MEASURES_H
#define SPIROVAULT_TESTS_CLI_FRAME_MEASURES_H

#include <algorithm>
#include <array>
#include <cstddef>

#include "imageio/float_image.h"

struct FrameMeasures {
    size_t object = 0;
    size_t fireflies = 0;
    size_t clipped = 0;
    double FireflyShare() const { return object ? static_cast<double>(fireflies) / object : 0; }
    double ClippedShare() const { return object ? static_cast<double>(clipped) / object : 0; }
};

inline FrameMeasures MeasureFrame(const imageio::FloatImage& image) {
    // Pixels the object covers whole; the outline's partly covered ones hold straight colour
    // that is brighter or darker than the surface by nature.
    constexpr float kCovered = 0.99f;
    auto brightness = [&](int x, int y) {
        const float* p = image.Pixel(x, y);
        return (p[0] + p[1] + p[2]) / 3.0f;
    };
    FrameMeasures m;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float* p = image.Pixel(x, y);
            if (p[3] < kCovered) continue;
            ++m.object;
            if (std::min({p[0], p[1], p[2]}) >= 1.0f) ++m.clipped;
            // The neighbours on the object: the transparent background is no measure of
            // brightness, and would make every corner of the outline count.
            std::array<float, 9> around;
            size_t count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
                    if (image.Pixel(nx, ny)[3] >= kCovered) around[count++] = brightness(nx, ny);
                }
            }
            if (count < 5) continue;  // a speck of outline, not a surface
            std::nth_element(around.begin(), around.begin() + count / 2, around.begin() + count);
            if (brightness(x, y) - around[count / 2] > 0.25f) ++m.fireflies;
        }
    }
    return m;
}

#endif
