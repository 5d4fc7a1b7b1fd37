// The GPU kernel "SpirovaultKernel": one thread per output pixel, rendered by the same core as
// the CPU pixel callbacks from a record rebuilt out of the kernel arguments. nvcc compiles it
// into the library; the build inlines it into the OpenCL program file "Kestrelite_Kernel.cu".
#ifndef SPIROVAULT_KERNEL_GPU_SPIROVAULT_KERNEL_H
#define SPIROVAULT_KERNEL_GPU_SPIROVAULT_KERNEL_H

#include "kernel/color_ramp.h"
#include "kernel/gpu/kernel_portable.h"
#include "kernel/pixel_sampling.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

// Floats per entry of the light table: (position, intensity), (colour, casts shadows),
// (shadow darkness, shadow diffusion, shadow samples, 0).
#define kGpuLightFloats 12
// Floats per entry of the ramp table: position, red, green, blue.
#define kGpuRampEntryFloats 4

SV_FN void ZeroRenderSettings(RenderSettings* s) {
    char* bytes = (char*)s;
    for (int i = 0; i < (int)sizeof(RenderSettings); ++i) bytes[i] = 0;
}

SV_FN void StoreFloat3(float* dst, float x, float y, float z) {
    dst[0] = x;
    dst[1] = y;
    dst[2] = z;
}

// The seventeen four-float arguments back into the record's fields (the driver packs them).
SV_FN void UnpackParamVectors(const SvFloat4* v, RenderSettings* s) {
    StoreFloat3(s->camera_position, v[0].x, v[0].y, v[0].z);
    s->tan_half_fov = v[0].w;
    StoreFloat3(s->camera_right, v[1].x, v[1].y, v[1].z);
    s->power = v[1].w;
    StoreFloat3(s->camera_up, v[2].x, v[2].y, v[2].z);
    s->bailout = v[2].w;
    StoreFloat3(s->camera_forward, v[3].x, v[3].y, v[3].z);
    s->epsilon_scale = v[3].w;
    s->camera_dof = (int)v[4].x;
    s->dof_samples = (int)v[4].y;
    s->lens_radius = v[4].z;
    s->focus_distance = v[4].w;
    s->highlight_gain = v[5].x;
    s->highlight_threshold = v[5].y;
    s->highlight_saturation = v[5].z;
    s->max_iterations = (int)v[6].x;
    s->max_steps = (int)v[6].y;
    s->julia_mode = (int)v[6].z;
    s->radiolaria = (int)v[6].w;
    s->ao_type = (int)v[7].x;
    s->ao_intensity = v[7].y;
    s->ao_samples = (int)v[7].z;
    s->ao_radius = v[7].w;
    s->shadow_intensity = v[8].x;
    s->lighting_enabled = (int)v[8].y;
    s->specularity = v[8].z;
    s->specular_exponent = v[8].w;
    s->ambient_intensity = v[9].z;
    s->shadow_samples = (int)v[9].w;
    s->rotation_x = v[10].x;
    s->rotation_y = v[10].y;
    s->rotation_z = v[10].z;
    s->bounding_sphere = v[10].w;
    StoreFloat3(s->light_position, v[11].x, v[11].y, v[11].z);
    s->light_size = v[11].w;
    StoreFloat3(s->light_color, v[12].x, v[12].y, v[12].z);
    s->light_intensity = v[12].w;
    s->ambient_color[1] = v[13].x;
    s->ambient_color[2] = v[13].y;
    s->phase_x = v[13].z;
    s->phase_y = v[13].w;
    StoreFloat3(s->julia_c, v[14].x, v[14].y, v[14].z);
    s->radiolaria_factor = v[14].w;
    s->orbit_scale = v[15].x;
    s->orbit_gamma = v[15].y;
    s->ramp_stop_count = (int)v[15].z;
    s->ambient_color[0] = v[15].w;
    s->comp_light_count = SvClampI((int)v[16].x, 0, kMaxCompLights);
}

SV_FN void UnpackLights(SV_GLOBAL const float* table, RenderSettings* s) {
    for (int l = 0; l < s->comp_light_count; ++l) {
        SV_GLOBAL const float* e = table + l * kGpuLightFloats;
        CompLight* light = &s->comp_lights[l];
        StoreFloat3(light->position, e[0], e[1], e[2]);
        light->intensity = e[3];
        StoreFloat3(light->color, e[4], e[5], e[6]);
        light->casts_shadows = e[7] != 0.0f;
        light->shadow_darkness = e[8];
        light->shadow_diffusion = e[9];
    }
}

// The table carries what sampling reads; the ramp is rebuilt from it so that the kernel samples
// with the same function as the CPU. Alpha is not in the table and colours nothing.
SV_FN void UnpackRamp(SV_GLOBAL const float* table, RenderSettings* s) {
    s->ramp.stop_count = SvClampI(s->ramp_stop_count, 0, kMaxRampStops);
    for (int i = 0; i < kMaxRampStops; ++i) {
        SV_GLOBAL const float* e = table + i * kGpuRampEntryFloats;
        for (int c = 0; c < kGpuRampEntryFloats; ++c) s->ramp_table.entries[i][c] = e[c];
        if (i >= s->ramp.stop_count) continue;
        s->ramp.stops[i].position = e[0];
        s->ramp.stops[i].red = e[1];
        s->ramp.stops[i].green = e[2];
        s->ramp.stops[i].blue = e[3];
        s->ramp.stops[i].alpha = 1.0f;
    }
}

// Arguments 0 to 37, in the order the drivers set them. The pixel-size flag is always 0 (four
// floats per pixel in both frames), the only layout this kernel reads and writes.
SV_KERNEL SpirovaultKernel(SV_GLOBAL SvFloat4* output, unsigned int output_pitch,
                           unsigned int pixel_size_flag, unsigned int width, unsigned int height,
                           unsigned int supersampling, SvFloat4 v6, SvFloat4 v7, SvFloat4 v8,
                           SvFloat4 v9, SvFloat4 v10, SvFloat4 v11, SvFloat4 v12, SvFloat4 v13,
                           SvFloat4 v14, SvFloat4 v15, SvFloat4 v16, SvFloat4 v17, SvFloat4 v18,
                           SvFloat4 v19, SvFloat4 v20, SvFloat4 v21, SvFloat4 v22,
                           SV_GLOBAL const float* lights, SV_GLOBAL const float* ramp,
                           unsigned int environment_present, SV_GLOBAL float* environment,
                           unsigned int environment_width, unsigned int environment_height,
                           float hdri_rotation, float hdri_intensity, unsigned int hdri_samples,
                           float hdri_shadow_intensity, unsigned int hdri_specular, SvFloat4 depth,
                           SV_GLOBAL const SvFloat4* input, unsigned int input_pitch,
                           unsigned int composite_on_original) {
    const int x = SvThreadX();
    const int y = SvThreadY();
    if (x >= (int)width || y >= (int)height) return;
    (void)pixel_size_flag;

    RenderSettings s;
    ZeroRenderSettings(&s);
    s.output_width = (int)width;
    s.output_height = (int)height;
    s.supersampling = (int)supersampling;
    const SvFloat4 v[17] = {v6,  v7,  v8,  v9,  v10, v11, v12, v13, v14,
                            v15, v16, v17, v18, v19, v20, v21, v22};
    UnpackParamVectors(v, &s);
    UnpackLights(lights, &s);
    UnpackRamp(ramp, &s);
    // Without an environment the record holds no image and a size of 0, as on the CPU.
    if (environment_present != 0u && environment_width > 0u && environment_height > 0u) {
        s.hdri_pixels = environment;
        s.hdri_width = (int)environment_width;
        s.hdri_height = (int)environment_height;
    }
    s.hdri_rotation = hdri_rotation;
    s.hdri_intensity = hdri_intensity;
    s.hdri_samples = (int)hdri_samples;
    s.hdri_shadow_intensity = hdri_shadow_intensity;
    s.hdri_specular = (int)hdri_specular;
    s.depth_map = (int)depth.x;
    s.depth_start = depth.y;
    s.depth_end = depth.z;
    s.composite_on_original = (int)composite_on_original;

    PixelF in_pixel;
    const PixelF* in = 0;
    if (composite_on_original != 0u) {
        const SvFloat4 bgra = input[(unsigned int)y * input_pitch + (unsigned int)x];
        in_pixel.alpha = bgra.w;
        in_pixel.red = bgra.z;
        in_pixel.green = bgra.y;
        in_pixel.blue = bgra.x;
        in = &in_pixel;
    }
    PixelF out;
    RenderPixelSamples(&s, x, y, in, &out, 1);
    SvFloat4 bgra;
    bgra.x = out.blue;
    bgra.y = out.green;
    bgra.z = out.red;
    bgra.w = out.alpha;
    output[(unsigned int)y * output_pitch + (unsigned int)x] = bgra;
}

#endif
