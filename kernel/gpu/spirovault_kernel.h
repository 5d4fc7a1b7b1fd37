// The GPU kernel "SpirovaultKernel": one thread per output pixel, rendered by the same core as
// the CPU pixel callbacks from a record rebuilt out of the kernel arguments. nvcc compiles it
// into the library; the build inlines it into the OpenCL program file "Kestrelite_Kernel.cu".
#ifndef SPIROVAULT_KERNEL_GPU_SPIROVAULT_KERNEL_H
#define SPIROVAULT_KERNEL_GPU_SPIROVAULT_KERNEL_H

#include "kernel/color_ramp.h"
#include "kernel/gpu/kernel_args.h"
#include "kernel/gpu/kernel_portable.h"
#include "kernel/pixel_sampling.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

SV_FN void ZeroRenderSettings(RenderSettings* s) {
    char* bytes = (char*)s;
    for (int i = 0; i < (int)sizeof(RenderSettings); ++i) bytes[i] = 0;
}

SV_FN void UnpackLights(SV_GLOBAL const float* table, RenderSettings* s) {
    for (int l = 0; l < s->comp_light_count; ++l) {
        UnpackLight(table + l * kGpuLightFloats, &s->comp_lights[l]);
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

// The parameter list, from the one table of arguments.
#define SvPixelsOutParameter(name) SV_GLOBAL SvFloat4* name
#define SvPixelsInParameter(name) SV_GLOBAL const SvFloat4* name
#define SvTableParameter(name) SV_GLOBAL const float* name
#define SvImageParameter(name) SV_GLOBAL float* name
#define SvUintParameter(name) unsigned int name
#define SvFloatParameter(name) float name
#define SvVectorParameter(name) SvFloat4 name
#define SvParamsParameter(name) SvFloat4 name
#define SV_FIRST_PARAMETER(name, kind) kind##Parameter(name)
#define SV_NEXT_PARAMETER(name, kind) , kind##Parameter(name)
// The SvParams arguments in order, as an initialiser list.
#define SvParamsInOrder(name) name,
#define SvPixelsOutInOrder(name)
#define SvPixelsInInOrder(name)
#define SvTableInOrder(name)
#define SvImageInOrder(name)
#define SvUintInOrder(name)
#define SvFloatInOrder(name)
#define SvVectorInOrder(name)
#define SV_PARAMS_IN_ORDER(name, kind) kind##InOrder(name)

SV_KERNEL SpirovaultKernel(SV_KERNEL_ARGUMENTS(SV_FIRST_PARAMETER, SV_NEXT_PARAMETER)) {
    const int x = SvThreadX();
    const int y = SvThreadY();
    if (x >= (int)width || y >= (int)height) return;
    (void)pixel_size_flag;

    RenderSettings s;
    ZeroRenderSettings(&s);
    s.supersampling = (int)supersampling;
    const SvFloat4 v[kSvParamVectorCount] = {
        SV_KERNEL_ARGUMENTS(SV_PARAMS_IN_ORDER, SV_PARAMS_IN_ORDER)};
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
