// The per-frame record every pixel is rendered from. Field order and sizes are the record's
// contract with the GPU driver, so they are proved below.
#ifndef SPIROVAULT_KERNEL_SETTINGS_H
#define SPIROVAULT_KERNEL_SETTINGS_H

#include "kernel/color_ramp.h"
#include "kernel/portable.h"

#define kMaxCompLights 8

typedef struct CompLight {
    float position[3];  // fractal space, before the fractal rotation
    float color[3];     // 0..1
    float intensity;    // multiplier, 1 = 100 %
    int casts_shadows;
    float shadow_darkness;   // 0..1
    float shadow_diffusion;  // radius of the light's disk, fractal units
} CompLight;

typedef struct RenderSettings {
    // The whole frame at this resolution (the layer's size times the downsample factors), of
    // which the output world may be a part.
    int output_width;
    int output_height;
    // Where the world's pixel (x, y) lies in the frame: column origin_x + x, row origin_y +
    // row_step * y (2 for one field of an interlaced frame). 0 reads as 1.
    int origin_x;
    int origin_y;
    int row_step;
    // How much wider than tall one pixel shows: the pixel aspect ratio times the vertical over
    // the horizontal downsample factor. 0 reads as 1.
    float pixel_aspect;
    int supersampling;
    int composite_on_original;
    int depth_map;
    float depth_start;
    float depth_end;
    float camera_position[3];
    float camera_right[3];
    float camera_up[3];
    float camera_forward[3];
    float tan_half_fov;
    int camera_dof;
    int dof_samples;
    float lens_radius;
    float focus_distance;
    float highlight_gain;
    float highlight_threshold;
    float highlight_saturation;
    float power;
    float bailout;
    int max_iterations;
    int max_steps;
    float bounding_sphere;
    float epsilon_scale;
    int ao_type;
    float ao_intensity;
    int ao_samples;
    float ao_radius;
    int lighting_enabled;
    float specularity;
    float specular_exponent;
    float rotation_x;
    float rotation_y;
    float rotation_z;
    float light_position[3];
    float light_color[3];
    float light_size;
    float light_intensity;
    float shadow_intensity;
    int shadow_samples;
    float ambient_intensity;
    float ambient_color[3];
    int julia_mode;
    float julia_c[3];
    int radiolaria;
    float radiolaria_factor;
    float phase_x;
    float phase_y;
    int comp_light_count;
    CompLight comp_lights[kMaxCompLights];
    float orbit_scale;
    float orbit_gamma;
    int ramp_stop_count;
    ColorRamp ramp;
    RampTable ramp_table;
    float hdri_intensity;
    float hdri_rotation;
    int hdri_samples;
    float hdri_shadow_intensity;
    int hdri_specular;
    int hdri_width;
    int hdri_height;
    SV_GLOBAL float* hdri_pixels;  // hdri_width * hdri_height * 3 floats, owned by the record
} RenderSettings;

#define kAoTypeOrbitTrap 1
#define kAoTypeRaytraced 2

#if defined(__cplusplus)
#include <cstddef>
static_assert(sizeof(CompLight) == 40, "CompLight is ten 32-bit fields");
static_assert(offsetof(RenderSettings, comp_lights) == 280, "fields before the lights are packed");
static_assert(offsetof(RenderSettings, ramp) == 612, "ramp follows the orbit fields");
static_assert(offsetof(RenderSettings, hdri_pixels) == 1224, "no padding before the pointer");
static_assert(sizeof(RenderSettings) == 1224 + sizeof(void*), "RenderSettings has no padding");
#endif

#endif
