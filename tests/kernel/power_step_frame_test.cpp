// Whole frames of the trigonometry-free integer step against the trigonometric one, over
// scenes that exercise every part of shading: nearly every 8-bit pixel the same, none far off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "device/cpu/cpu_pixel_callbacks.h"
#include "tests/kernel/render_test_support.h"
#include "tests/kernel/trig_step_frames.h"

using namespace spirovault;

namespace {

constexpr int kW = 64;
constexpr int kH = 36;

struct Scene {
    const char* name;
    RenderSettings settings;
    std::vector<PF_PixelFloat> input;
};

std::vector<float> Environment() {
    std::vector<float> pixels(8 * 4 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0.2f + 0.05f * static_cast<float>(i % 7);
    pixels[3 * 9 + 1] = 6.0f;  // a bright spot above 1.0
    return pixels;
}

std::vector<Scene> Scenes(std::vector<float>* environment) {
    std::vector<Scene> scenes;
    const RenderSettings base = DefaultSettings(kW, kH);
    scenes.push_back({"default", base, {}});
    RenderSettings s = base;
    s.julia_mode = 1;
    s.julia_c[0] = 0.35f;
    s.julia_c[1] = -0.2f;
    s.radiolaria = 1;
    s.radiolaria_factor = 0.3f;
    s.phase_x = 0.4f;
    s.phase_y = -0.25f;
    scenes.push_back({"julia radiolaria phases", s, {}});
    s = base;
    s.ao_type = kAoTypeRaytraced;
    s.ao_intensity = 1.0f;
    s.ao_samples = 6;
    scenes.push_back({"raytraced occlusion", s, {}});
    s = base;
    s.comp_light_count = 1;
    CompLight& light = s.comp_lights[0];
    light = CompLight{{1.5f, -1.0f, -2.0f}, {1.0f, 0.7f, 0.4f}, 1.5f, 1, 0.9f, 0.2f};
    s.shadow_samples = 4;
    scenes.push_back({"composition light, soft shadows", s, {}});
    s = base;
    s.camera_dof = 1;
    s.dof_samples = 4;
    s.lens_radius = 0.05f;
    s.focus_distance = 2.2f;
    s.highlight_gain = 0.6f;
    s.highlight_threshold = 0.4f;
    s.highlight_saturation = 0.5f;
    scenes.push_back({"depth of field", s, {}});
    s = base;
    s.hdri_pixels = environment->data();
    s.hdri_width = 8;
    s.hdri_height = 4;
    s.hdri_intensity = 1.0f;
    s.hdri_samples = 6;
    s.hdri_specular = 1;
    scenes.push_back({"environment with specular", s, {}});
    s = base;
    s.composite_on_original = 1;
    std::vector<PF_PixelFloat> input(kW * kH);
    for (int i = 0; i < kW * kH; ++i) {
        const float f = static_cast<float>(i % kW) / kW;
        input[i] = PF_PixelFloat{1.0f, 0.6f * f, 0.3f, 0.6f * (1 - f)};
    }
    scenes.push_back({"composite on original", s, input});
    s = base;
    s.depth_map = 1;
    s.depth_start = 1.0f;
    s.depth_end = 4.0f;
    scenes.push_back({"depth map", s, {}});
    return scenes;
}

TEST(IntegerPowerStep, FramesMatchTheTrigonometricStep) {
    std::vector<float> environment = Environment();
    size_t float_differences = 0;
    for (const Scene& scene : Scenes(&environment)) {
        const std::vector<PF_PixelFloat>* input = scene.input.empty() ? nullptr : &scene.input;
        const std::vector<PF_PixelFloat> now = RenderFrameFloat(scene.settings, 0, input);
        const std::vector<PF_PixelFloat> trig = RenderFrameTrigStep(scene.settings, input);
        ASSERT_EQ(now.size(), trig.size());
        size_t within = 0;
        int worst = 0;
        for (size_t i = 0; i < now.size(); ++i) {
            const float a[4] = {now[i].alpha, now[i].red, now[i].green, now[i].blue};
            const float b[4] = {trig[i].alpha, trig[i].red, trig[i].green, trig[i].blue};
            int pixel_worst = 0;
            for (int c = 0; c < 4; ++c) {
                pixel_worst =
                    std::max(pixel_worst, std::abs(FloatToChannel8(a[c]) - FloatToChannel8(b[c])));
            }
            float_differences += std::memcmp(&now[i], &trig[i], sizeof now[i]) != 0;
            within += pixel_worst <= 1;
            worst = std::max(worst, pixel_worst);
        }
        const double share = static_cast<double>(within) / now.size();
        std::printf("%-32s within 1/255: %.3f %%, worst %d/255\n", scene.name, 100 * share, worst);
        EXPECT_GE(share, 0.999) << scene.name;
        EXPECT_LE(worst, 8) << scene.name;
    }
    // The two renderers really took different steps.
    EXPECT_GT(float_differences, 0u);
}

}  // namespace
