// The arguments of "SpirovaultKernel", declared once. Everything that passes or reads them
// follows from the tables here: the kernel's parameter list and its unpacking, the OpenCL
// argument setting, the CUDA parameter buffer, and the tests' expectations.
#ifndef SPIROVAULT_KERNEL_GPU_KERNEL_ARGS_H
#define SPIROVAULT_KERNEL_GPU_KERNEL_ARGS_H

#include "kernel/gpu/kernel_portable.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

// The arguments in order: FIRST(name, kind) for the first, NEXT(name, kind) for each of the
// others. The kinds:
//   SvPixelsOut, SvPixelsIn  a frame of four-float pixels on the device (out, in)
//   SvTable, SvImage         a table of floats on the device (read-only), the environment image
//   SvUint, SvFloat          a 32-bit scalar
//   SvVector                 four floats
//   SvParams                 four floats of the record, packed by SV_PARAM_VECTOR_FIELDS
// The pixel-size flag is always 0: four 32-bit floats per pixel in both frames.
#define SV_KERNEL_ARGUMENTS(FIRST, NEXT)                              \
    FIRST(output, SvPixelsOut)                                        \
    NEXT(output_pitch, SvUint) /* in pixels */                        \
    NEXT(pixel_size_flag, SvUint)                                     \
    NEXT(width, SvUint)                                               \
    NEXT(height, SvUint)                                              \
    NEXT(supersampling, SvUint)                                       \
    NEXT(params0, SvParams)                                           \
    NEXT(params1, SvParams)                                           \
    NEXT(params2, SvParams)                                           \
    NEXT(params3, SvParams)                                           \
    NEXT(params4, SvParams)                                           \
    NEXT(params5, SvParams)                                           \
    NEXT(params6, SvParams)                                           \
    NEXT(params7, SvParams)                                           \
    NEXT(params8, SvParams)                                           \
    NEXT(params9, SvParams)                                           \
    NEXT(params10, SvParams)                                          \
    NEXT(params11, SvParams)                                          \
    NEXT(params12, SvParams)                                          \
    NEXT(params13, SvParams)                                          \
    NEXT(params14, SvParams)                                          \
    NEXT(params15, SvParams)                                          \
    NEXT(params16, SvParams)                                          \
    NEXT(lights, SvTable) /* kGpuLightFloats per composition light */ \
    NEXT(ramp, SvTable)   /* the record's RampTable */                \
    NEXT(environment_present, SvUint)                                 \
    NEXT(environment, SvImage) /* float RGB rows */                   \
    NEXT(environment_width, SvUint)                                   \
    NEXT(environment_height, SvUint)                                  \
    NEXT(hdri_rotation, SvFloat)                                      \
    NEXT(hdri_intensity, SvFloat)                                     \
    NEXT(hdri_samples, SvUint)                                        \
    NEXT(hdri_shadow_intensity, SvFloat)                              \
    NEXT(hdri_specular, SvUint)                                       \
    NEXT(depth, SvVector) /* depth map, start, end, 0 */              \
    NEXT(input, SvPixelsIn)                                           \
    NEXT(input_pitch, SvUint) /* in pixels */                         \
    NEXT(composite_on_original, SvUint)

#define kSvParamVectorCount 17

// Where each field of the record travels among the SvParams arguments: (vector, component,
// field, the field's type). Components no field names carry 0.
#define SV_PARAM_VECTOR_FIELDS(X)        \
    X(0, x, camera_position[0], float)   \
    X(0, y, camera_position[1], float)   \
    X(0, z, camera_position[2], float)   \
    X(0, w, tan_half_fov, float)         \
    X(1, x, camera_right[0], float)      \
    X(1, y, camera_right[1], float)      \
    X(1, z, camera_right[2], float)      \
    X(1, w, power, float)                \
    X(2, x, camera_up[0], float)         \
    X(2, y, camera_up[1], float)         \
    X(2, z, camera_up[2], float)         \
    X(2, w, bailout, float)              \
    X(3, x, camera_forward[0], float)    \
    X(3, y, camera_forward[1], float)    \
    X(3, z, camera_forward[2], float)    \
    X(3, w, epsilon_scale, float)        \
    X(4, x, camera_dof, int)             \
    X(4, y, dof_samples, int)            \
    X(4, z, lens_radius, float)          \
    X(4, w, focus_distance, float)       \
    X(5, x, highlight_gain, float)       \
    X(5, y, highlight_threshold, float)  \
    X(5, z, highlight_saturation, float) \
    X(5, w, pixel_aspect, float)         \
    X(6, x, max_iterations, int)         \
    X(6, y, max_steps, int)              \
    X(6, z, julia_mode, int)             \
    X(6, w, radiolaria, int)             \
    X(7, x, ao_type, int)                \
    X(7, y, ao_intensity, float)         \
    X(7, z, ao_samples, int)             \
    X(7, w, ao_radius, float)            \
    X(8, x, shadow_intensity, float)     \
    X(8, y, lighting_enabled, int)       \
    X(8, z, specularity, float)          \
    X(8, w, specular_exponent, float)    \
    X(9, x, origin_x, int)               \
    X(9, y, origin_y, int)               \
    X(9, z, ambient_intensity, float)    \
    X(9, w, shadow_samples, int)         \
    X(10, x, rotation_x, float)          \
    X(10, y, rotation_y, float)          \
    X(10, z, rotation_z, float)          \
    X(10, w, bounding_sphere, float)     \
    X(11, x, light_position[0], float)   \
    X(11, y, light_position[1], float)   \
    X(11, z, light_position[2], float)   \
    X(11, w, light_size, float)          \
    X(12, x, light_color[0], float)      \
    X(12, y, light_color[1], float)      \
    X(12, z, light_color[2], float)      \
    X(12, w, light_intensity, float)     \
    X(13, x, ambient_color[1], float)    \
    X(13, y, ambient_color[2], float)    \
    X(13, z, phase_x, float)             \
    X(13, w, phase_y, float)             \
    X(14, x, julia_c[0], float)          \
    X(14, y, julia_c[1], float)          \
    X(14, z, julia_c[2], float)          \
    X(14, w, radiolaria_factor, float)   \
    X(15, x, orbit_scale, float)         \
    X(15, y, orbit_gamma, float)         \
    X(15, z, ramp_stop_count, int)       \
    X(15, w, ambient_color[0], float)    \
    X(16, x, comp_light_count, int)      \
    X(16, y, output_width, int)          \
    X(16, z, output_height, int)         \
    X(16, w, row_step, int)

SV_FN void PackParamVectors(const RenderSettings* s, SvFloat4* v) {
    for (int i = 0; i < kSvParamVectorCount; ++i) {
        v[i].x = 0.0f;
        v[i].y = 0.0f;
        v[i].z = 0.0f;
        v[i].w = 0.0f;
    }
#define SV_PACK_FIELD(vector, component, field, type) v[vector].component = (float)(s->field);
    SV_PARAM_VECTOR_FIELDS(SV_PACK_FIELD)
#undef SV_PACK_FIELD
}

SV_FN void UnpackParamVectors(const SvFloat4* v, RenderSettings* s) {
#define SV_UNPACK_FIELD(vector, component, field, type) s->field = (type)(v[vector].component);
    SV_PARAM_VECTOR_FIELDS(SV_UNPACK_FIELD)
#undef SV_UNPACK_FIELD
    s->comp_light_count = SvClampI(s->comp_light_count, 0, kMaxCompLights);
}

// One entry of the light table: position, intensity, colour, casts shadows (1 or 0), shadow
// darkness, shadow diffusion, the record's shadow samples, 0.
#define kGpuLightFloats 12
#define kGpuLightTableFloats (kGpuLightFloats * kMaxCompLights)
// Floats per entry of the ramp table: position, red, green, blue.
#define kGpuRampEntryFloats 4

SV_FN void PackLight(const CompLight* light, int shadow_samples, float* e) {
    for (int c = 0; c < 3; ++c) {
        e[c] = light->position[c];
        e[4 + c] = light->color[c];
    }
    e[3] = light->intensity;
    e[7] = light->casts_shadows ? 1.0f : 0.0f;
    e[8] = light->shadow_darkness;
    e[9] = light->shadow_diffusion;
    e[10] = (float)shadow_samples;
    e[11] = 0.0f;
}

SV_FN void UnpackLight(SV_GLOBAL const float* e, CompLight* light) {
    for (int c = 0; c < 3; ++c) {
        light->position[c] = e[c];
        light->color[c] = e[4 + c];
    }
    light->intensity = e[3];
    light->casts_shadows = e[7] != 0.0f;
    light->shadow_darkness = e[8];
    light->shadow_diffusion = e[9];
}

#endif
