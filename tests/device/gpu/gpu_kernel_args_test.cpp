// The record packed into the kernel's arguments, as both frameworks pass them.
#include "device/gpu/gpu_kernel_args.h"

#include <gtest/gtest.h>

#include "tests/support/frame_renderer.h"

namespace {

void ExpectVector(const GpuFloat4& v, float x, float y, float z, float w, int argument) {
    EXPECT_EQ(v.x, x) << "argument " << argument;
    EXPECT_EQ(v.y, y) << "argument " << argument;
    EXPECT_EQ(v.z, z) << "argument " << argument;
    EXPECT_EQ(v.w, w) << "argument " << argument;
}

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

TEST(GpuKernelArgs, ParamVectorsCarryEveryFieldInItsPlace) {
    const RenderSettings s = DistinctRecord();
    const GpuParamVectors p = BuildGpuParamVectors(s);
    const GpuFloat4* v = p.vectors;
    ExpectVector(v[0], 1, 2, 3, 4, 6);
    ExpectVector(v[1], 5, 6, 7, 8, 7);
    ExpectVector(v[2], 9, 10, 11, 12, 8);
    ExpectVector(v[3], 13, 14, 15, 16, 9);
    ExpectVector(v[4], 1, 5, 17, 18, 10);
    ExpectVector(v[5], 19, 20, 21, 0, 11);
    ExpectVector(v[6], 12, 300, 1, 0, 12);
    ExpectVector(v[7], 2, 22, 7, 23, 13);
    ExpectVector(v[8], 24, 1, 25, 26, 14);
    ExpectVector(v[9], 0, 0, 27, 3, 15);
    ExpectVector(v[10], 28, 29, 30, 31, 16);
    ExpectVector(v[11], 32, 33, 34, 35, 17);
    ExpectVector(v[12], 36, 37, 38, 39, 18);
    // The ambient colour is split: green and blue in argument 19, red in argument 21.
    ExpectVector(v[13], 41, 42, 43, 44, 19);
    ExpectVector(v[14], 45, 46, 47, 48, 20);
    ExpectVector(v[15], 49, 50, 4, 40, 21);
    ExpectVector(v[16], 2, 0, 0, 0, 22);
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
    SpirovaultKernelArgs a = MakeKernelArgs(s, frame);
    EXPECT_EQ(a.environment_present, 0u);
    EXPECT_EQ(a.environment_width, 0u);
    EXPECT_EQ(a.environment_height, 0u);
    EXPECT_EQ(a.hdri_rotation, 10.0f);
    EXPECT_EQ(a.hdri_samples, 4u);
    EXPECT_EQ(a.input, nullptr);
    EXPECT_EQ(a.input_pitch, 0u);
    EXPECT_EQ(a.composite_on_original, 0u);

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
    EXPECT_EQ(a.environment_present, 1u);
    EXPECT_EQ(a.environment_width, 2u);
    EXPECT_EQ(a.environment_height, 1u);
    EXPECT_EQ(a.input_pitch, 99u);
    EXPECT_EQ(a.composite_on_original, 1u);
    ExpectVector(a.depth, 1, 2, 8, 0, 34);
}

}  // namespace
