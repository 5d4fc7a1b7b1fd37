// The record packed into the kernel's arguments, as both frameworks pass them, and unpacked as
// the kernel unpacks it.
#include "device/gpu/gpu_kernel_args.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/frame_renderer.h"

using namespace spirovault;

namespace {

// Every field a distinct value, so that a swapped or misplaced field shows.
RenderSettings DistinctRecord() {
    RenderSettings s = MakeDefaultRenderSettings(64, 36);
    float next = 1.0f;
    for (float* f : {&s.camera_position[0],
                     &s.camera_position[1],
                     &s.camera_position[2],
                     &s.tan_half_fov,
                     &s.camera_right[0],
                     &s.camera_right[1],
                     &s.camera_right[2],
                     &s.power,
                     &s.camera_up[0],
                     &s.camera_up[1],
                     &s.camera_up[2],
                     &s.bailout,
                     &s.camera_forward[0],
                     &s.camera_forward[1],
                     &s.camera_forward[2],
                     &s.epsilon_scale,
                     &s.lens_radius,
                     &s.focus_distance,
                     &s.highlight_gain,
                     &s.highlight_threshold,
                     &s.highlight_saturation,
                     &s.ao_intensity,
                     &s.ao_radius,
                     &s.shadow_intensity,
                     &s.specularity,
                     &s.specular_exponent,
                     &s.ambient_intensity,
                     &s.rotation_x,
                     &s.rotation_y,
                     &s.rotation_z,
                     &s.bounding_sphere,
                     &s.light_position[0],
                     &s.light_position[1],
                     &s.light_position[2],
                     &s.light_size,
                     &s.light_color[0],
                     &s.light_color[1],
                     &s.light_color[2],
                     &s.light_intensity,
                     &s.ambient_color[0],
                     &s.ambient_color[1],
                     &s.ambient_color[2],
                     &s.phase_x,
                     &s.phase_y,
                     &s.julia_c[0],
                     &s.julia_c[1],
                     &s.julia_c[2],
                     &s.radiolaria_factor,
                     &s.orbit_scale,
                     &s.orbit_gamma}) {
        *f = next;
        next += 1.0f;
    }
    s.camera_dof = 1;
    s.dof_samples = 5;
    s.max_iterations = 12;
    s.max_steps = 300;
    s.julia_mode = 1;
    s.radiolaria = 0;
    s.ao_type = 2;
    s.ao_samples = 7;
    s.lighting_enabled = 1;
    s.shadow_samples = 3;
    s.ramp_stop_count = 4;
    s.comp_light_count = 2;
    return s;
}

TEST(GpuKernelArgs, EveryFieldComesBackAsTheKernelUnpacksIt) {
    // Distinct values: two fields sharing a component, or a field lost, show as a mismatch.
    const RenderSettings s = DistinctRecord();
    KernelArgs args = MakeKernelArgs(s, GpuFrame{});
    SvFloat4 vectors[kSvParamVectorCount];
    for (int i = 0; i < kSvParamVectorCount; ++i) vectors[i] = args.ParamVector(i);
    RenderSettings unpacked{};
    UnpackParamVectors(vectors, &unpacked);
#define EXPECT_FIELD(vector, component, field, type) \
    EXPECT_EQ(unpacked.field, s.field) << #field " in vector " << vector;
    SV_PARAM_VECTOR_FIELDS(EXPECT_FIELD)
#undef EXPECT_FIELD
}

TEST(GpuKernelArgs, LightsComeBackAsTheKernelUnpacksThem) {
    RenderSettings s = DistinctRecord();
    for (int l = 0; l < kMaxCompLights; ++l) {
        s.comp_lights[l] = CompLight{{1.0f + l, 2.0f + l, 3.0f},
                                     {0.5f, 0.25f, 0.125f * l},
                                     1.5f + l,
                                     l % 2,
                                     0.75f,
                                     0.5f + l};
    }
    const GpuLightTable table = BuildLightTable(s);
    for (int l = 0; l < kMaxCompLights; ++l) {
        CompLight light{};
        UnpackLight(table.floats + l * kGpuLightFloats, &light);
        const CompLight expected = l < s.comp_light_count ? s.comp_lights[l] : CompLight{};
        EXPECT_EQ(0, std::memcmp(&light, &expected, sizeof light)) << "light " << l;
    }
}

TEST(GpuKernelArgs, CudaArgumentsTakeTheEnvironmentAsTheRecordHoldsIt) {
    RenderSettings s = MakeDefaultRenderSettings(32, 18);
    s.hdri_rotation = 10;
    s.hdri_intensity = 3;
    s.hdri_samples = 4;
    s.composite_on_original = 1;
    GpuFrame frame;
    frame.width = 32;
    frame.height = 18;
    frame.input_pitch = 99;  // no input: ignored
    KernelArgs a = MakeKernelArgs(s, frame);
    EXPECT_EQ(a.Get<KernelArg::environment_present>(), 0u);
    EXPECT_EQ(a.Get<KernelArg::environment_width>(), 0u);
    EXPECT_EQ(a.Get<KernelArg::environment_height>(), 0u);
    EXPECT_EQ(a.Get<KernelArg::hdri_rotation>(), 10.0f);
    EXPECT_EQ(a.Get<KernelArg::hdri_samples>(), 4u);
    EXPECT_EQ(a.Get<KernelArg::input>(), nullptr);
    EXPECT_EQ(a.Get<KernelArg::input_pitch>(), 0u);
    EXPECT_EQ(a.Get<KernelArg::composite_on_original>(), 0u);

    float sky[6] = {};
    s.hdri_pixels = sky;
    s.hdri_width = 2;
    s.hdri_height = 1;
    s.depth_map = 1;
    s.depth_start = 2;
    s.depth_end = 8;
    int input = 0;
    frame.input = &input;
    a = MakeKernelArgs(s, frame);
    EXPECT_EQ(a.Get<KernelArg::environment_present>(), 1u);
    EXPECT_EQ(a.Get<KernelArg::environment_width>(), 2u);
    EXPECT_EQ(a.Get<KernelArg::environment_height>(), 1u);
    EXPECT_EQ(a.Get<KernelArg::input_pitch>(), 99u);
    EXPECT_EQ(a.Get<KernelArg::composite_on_original>(), 1u);
    const SvFloat4 depth = a.Get<KernelArg::depth>();
    EXPECT_EQ(depth.x, 1.0f);
    EXPECT_EQ(depth.y, 2.0f);
    EXPECT_EQ(depth.z, 8.0f);
}

}  // namespace
