// Test kernels that run the render core as OpenCL C, for comparison with the C++ build.
#include "kernel/pixel_sampling.h"

__kernel void SettingsLayout(__global int* out) {
    out[0] = (int)sizeof(RenderSettings);
    out[1] = (int)sizeof(CompLight);
    out[2] = (int)sizeof(ColorRamp);
    out[3] = (int)__builtin_offsetof(RenderSettings, comp_lights);
    out[4] = (int)__builtin_offsetof(RenderSettings, ramp);
    out[5] = (int)__builtin_offsetof(RenderSettings, hdri_pixels);
}

__kernel void EstimateAtPoints(__global const RenderSettings* settings,
                               __global const float* points, __global float* out, int count) {
    const int i = get_global_id(0);
    if (i >= count) return;
    RenderSettings s = *settings;
    s.hdri_pixels = 0;
    float trap = 4.0f;
    const Vec3 p = MakeVec3(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
    out[2 * i] = EstimateDistance(p, &trap, &s);
    out[2 * i + 1] = trap;
}

__kernel void RenderPixels(__global const RenderSettings* settings, __global float* environment,
                           __global float* out) {
    RenderSettings s = *settings;
    s.hdri_pixels = s.hdri_width > 0 ? environment : 0;
    const int x = get_global_id(0);
    const int y = get_global_id(1);
    if (x >= s.output_width || y >= s.output_height) return;
    PixelF pixel;
    RenderPixelSamples(&s, x, y, 0, &pixel, 1);
    __global float* dst = out + 4 * (y * s.output_width + x);
    dst[0] = pixel.alpha;
    dst[1] = pixel.red;
    dst[2] = pixel.green;
    dst[3] = pixel.blue;
}
