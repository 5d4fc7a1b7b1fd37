// GPU frames rendered by "SpirovaultKernel", compared with the CPU renderer's frames of the same
// record, on each framework's device.
//
// The OpenCL program is built with -cl-fast-relaxed-math, so sin, cos, pow, log and atan2 carry a
// few ulp of error that the power map amplifies at the fractal's chaotic boundary: a pixel whose
// rays graze it may flip between hit and miss. Agreement is therefore judged over the frame:
// nearly every pixel within two 8-bit steps and a small mean error. A fault in the kernel's
// arguments or their unpacking shifts whole areas and fails both measures.
#include <cstdio>
#include <string>
#include <vector>

#include "offhost/frame_renderer.h"
#include "tests/gpu/gpu_test_support.h"

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 27;
constexpr float kTolerance = 2.0f / 255.0f;

RenderSettings Scene() {
    return MakeDefaultRenderSettings(kWidth, kHeight);
}

class GpuAgreement : public GpuRenderTest {
  protected:
    void ExpectAgreement(const char* scene, const RenderSettings& record,
                         const FloatFrame* input = nullptr, double min_share = 0.97,
                         double max_mean = 0.004) {
        const FloatFrame cpu = RenderOnCpu(record, input);
        // The scene must show the fractal and the feature it is about.
        size_t covered = 0;
        for (const PF_PixelFloat& p : cpu) covered += p.alpha > 0.5f;
        EXPECT_GE(covered, cpu.size() / 5) << scene;
        if (scene != std::string("default")) {
            EXPECT_GT(Compare(cpu, RenderOnCpu(Scene(), input), kTolerance).mean_error, 1e-3)
                << scene << " looks like the default frame";
        }
        PF_Err err = PF_Err_NONE;
        const FloatFrame gpu = RenderOnGpu(record, input, &err);
        ASSERT_EQ(err, PF_Err_NONE) << scene;
        const Agreement agreement = Compare(gpu, cpu, kTolerance);
        std::printf("%-6s %-24s pixels within 2/255: %5.1f %%, mean channel error %.2e, max %.3f\n",
                    FrameworkName({framework(), 0}).c_str(), scene, 100 * agreement.within_share,
                    agreement.mean_error, agreement.max_error);
        EXPECT_GE(agreement.within_share, min_share) << scene;
        EXPECT_LE(agreement.mean_error, max_mean) << scene;
    }
};

// A small sky: warm above the horizon, cool below, a bright spot above 1.0.
std::vector<float> SkyImage(int width, int height) {
    std::vector<float> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float up = 1.0f - static_cast<float>(y) / (height - 1);
            const bool sun = x == width / 4 && y == height / 4;
            rgb.insert(rgb.end(), {sun ? 6.0f : 0.2f + 0.8f * up, 0.3f + 0.1f * (x % 3),
                                   sun ? 5.0f : 1.0f - 0.7f * up});
        }
    }
    return rgb;
}

// A layer to composite over: colour gradients with alpha falling off to the right.
FloatFrame InputImage(int width, int height) {
    FloatFrame image;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / (width - 1);
            const float fy = static_cast<float>(y) / (height - 1);
            image.push_back(PF_PixelFloat{1.0f - 0.6f * fx, fx, fy, 0.5f});
        }
    }
    return image;
}

TEST_P(GpuAgreement, DefaultParameters) {
    ExpectAgreement("default", Scene());
}

TEST_P(GpuAgreement, JuliaWithRadiolariaAndPhases) {
    RenderSettings s = Scene();
    s.julia_mode = 1;
    s.julia_c[0] = 0.35f;
    s.julia_c[1] = -0.2f;
    s.julia_c[2] = 0.1f;
    s.radiolaria = 1;
    s.radiolaria_factor = 0.3f;
    s.phase_x = 0.4f;
    s.phase_y = -0.25f;
    ExpectAgreement("julia radiolaria phases", s);
}

TEST_P(GpuAgreement, RaytracedAmbientOcclusion) {
    RenderSettings s = Scene();
    s.ao_type = kAoTypeRaytraced;
    s.ao_intensity = 1.0f;
    s.ao_samples = 6;
    ExpectAgreement("raytraced AO", s);
}

TEST_P(GpuAgreement, CompositionLightWithSoftShadows) {
    RenderSettings s = Scene();
    s.comp_light_count = 1;
    CompLight& light = s.comp_lights[0];
    light.position[0] = 2.5f;
    light.position[1] = -2.0f;
    light.position[2] = 3.0f;
    light.color[0] = 1.0f;
    light.color[1] = 0.6f;
    light.color[2] = 0.3f;
    light.intensity = 1.5f;
    light.casts_shadows = 1;
    light.shadow_darkness = 0.9f;
    light.shadow_diffusion = 0.4f;
    s.shadow_samples = 4;
    ExpectAgreement("comp light soft shadows", s);
}

TEST_P(GpuAgreement, DepthOfFieldWithHighlightBoost) {
    RenderSettings s = Scene();
    s.camera_dof = 1;
    s.dof_samples = 4;
    s.lens_radius = 0.2f;
    s.focus_distance = 6.0f;
    s.highlight_gain = 2.0f;
    s.highlight_threshold = 0.3f;
    s.highlight_saturation = 0.5f;
    ExpectAgreement("DoF highlight boost", s);
}

TEST_P(GpuAgreement, EnvironmentWithSpecular) {
    RenderSettings s = Scene();
    std::vector<float> sky = SkyImage(8, 4);
    s.hdri_pixels = sky.data();
    s.hdri_width = 8;
    s.hdri_height = 4;
    s.hdri_intensity = 1.2f;
    s.hdri_rotation = 30.0f;
    s.hdri_samples = 6;
    s.hdri_shadow_intensity = 0.7f;
    s.hdri_specular = 1;
    s.specularity = 0.8f;
    ExpectAgreement("HDRI specular", s);
}

TEST_P(GpuAgreement, CompositeOnOriginal) {
    RenderSettings s = Scene();
    s.composite_on_original = 1;
    const FloatFrame input = InputImage(kWidth, kHeight);
    ExpectAgreement("composite on original", s, &input);
}

TEST_P(GpuAgreement, DepthMap) {
    RenderSettings s = Scene();
    s.depth_map = 1;
    ExpectAgreement("depth map", s);
}

SPIROVAULT_ON_EVERY_GPU_FRAMEWORK(GpuAgreement);

}  // namespace
