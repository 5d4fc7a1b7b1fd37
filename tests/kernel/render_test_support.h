#ifndef SPIROVAULT_TESTS_KERNEL_RENDER_TEST_SUPPORT_H
#define SPIROVAULT_TESTS_KERNEL_RENDER_TEST_SUPPORT_H

#include "kernel/pixel_sampling.h"
#include "tests/support/frame_renderer.h"

using namespace spirovault;

// The default view at a test-sized frame.
inline RenderSettings DefaultSettings(int width = 32, int height = 18) {
    return MakeDefaultRenderSettings(width, height);
}

inline Vec3 V(float x, float y, float z) {
    return MakeVec3(x, y, z);
}

inline PixelF RenderPixel(const RenderSettings& s, int x, int y, const PixelF* in = nullptr,
                          int exact_shortcuts = 1) {
    PixelF out{};
    RenderPixelSamples(&s, x, y, in, &out, exact_shortcuts);
    return out;
}

#endif
