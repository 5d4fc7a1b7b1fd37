#include "device/gpu/gpu_kernel_args.h"

namespace {

GpuFloat4 F4(float x, float y, float z, float w) {
    GpuFloat4 v;
    v.x = x;
    v.y = y;
    v.z = z;
    v.w = w;
    return v;
}

GpuFloat4 F4(const float* xyz, float w) {
    return F4(xyz[0], xyz[1], xyz[2], w);
}

float AsFloat(int value) {
    return static_cast<float>(value);
}

}  // namespace

GpuLightTable BuildLightTable(const RenderSettings& record) {
    GpuLightTable table{};
    const int count = SvClampI(record.comp_light_count, 0, kMaxCompLights);
    for (int l = 0; l < count; ++l) {
        const CompLight& light = record.comp_lights[l];
        GpuLight& entry = table.lights[l];
        entry.group[0] = F4(light.position, light.intensity);
        entry.group[1] = F4(light.color, light.casts_shadows ? 1.0f : 0.0f);
        entry.group[2] =
            F4(light.shadow_darkness, light.shadow_diffusion, AsFloat(record.shadow_samples), 0.0f);
    }
    return table;
}

GpuParamVectors BuildGpuParamVectors(const RenderSettings& r) {
    GpuParamVectors p;
    GpuFloat4* v = p.vectors;
    v[0] = F4(r.camera_position, r.tan_half_fov);
    v[1] = F4(r.camera_right, r.power);
    v[2] = F4(r.camera_up, r.bailout);
    v[3] = F4(r.camera_forward, r.epsilon_scale);
    v[4] = F4(AsFloat(r.camera_dof), AsFloat(r.dof_samples), r.lens_radius, r.focus_distance);
    v[5] = F4(r.highlight_gain, r.highlight_threshold, r.highlight_saturation, 0.0f);
    v[6] = F4(AsFloat(r.max_iterations), AsFloat(r.max_steps), AsFloat(r.julia_mode),
              AsFloat(r.radiolaria));
    v[7] = F4(AsFloat(r.ao_type), r.ao_intensity, AsFloat(r.ao_samples), r.ao_radius);
    v[8] = F4(r.shadow_intensity, AsFloat(r.lighting_enabled), r.specularity, r.specular_exponent);
    v[9] = F4(0.0f, 0.0f, r.ambient_intensity, AsFloat(r.shadow_samples));
    v[10] = F4(r.rotation_x, r.rotation_y, r.rotation_z, r.bounding_sphere);
    v[11] = F4(r.light_position, r.light_size);
    v[12] = F4(r.light_color, r.light_intensity);
    v[13] = F4(r.ambient_color[1], r.ambient_color[2], r.phase_x, r.phase_y);
    v[14] = F4(r.julia_c, r.radiolaria_factor);
    v[15] = F4(r.orbit_scale, r.orbit_gamma, AsFloat(r.ramp_stop_count), r.ambient_color[0]);
    v[16] = F4(AsFloat(r.comp_light_count), 0.0f, 0.0f, 0.0f);
    return p;
}

bool HasEnvironment(const RenderSettings& record) {
    return record.hdri_pixels != nullptr && record.hdri_width > 0 && record.hdri_height > 0;
}

SpirovaultKernelArgs MakeKernelArgs(const RenderSettings& record, const GpuFrame& frame) {
    SpirovaultKernelArgs a;
    a.output = frame.output;
    a.output_pitch = frame.output_pitch;
    a.pixel_size_flag = 0;
    a.width = frame.width;
    a.height = frame.height;
    a.supersampling = static_cast<uint32_t>(record.supersampling);
    a.params = BuildGpuParamVectors(record);
    a.environment_present = HasEnvironment(record) ? 1u : 0u;
    a.environment_width = static_cast<uint32_t>(record.hdri_width);
    a.environment_height = static_cast<uint32_t>(record.hdri_height);
    a.hdri_rotation = record.hdri_rotation;
    a.hdri_intensity = record.hdri_intensity;
    a.hdri_samples = static_cast<uint32_t>(record.hdri_samples);
    a.hdri_shadow_intensity = record.hdri_shadow_intensity;
    a.hdri_specular = static_cast<uint32_t>(record.hdri_specular);
    a.depth = F4(AsFloat(record.depth_map), record.depth_start, record.depth_end, 0.0f);
    a.input = frame.input;
    a.input_pitch = frame.input != nullptr ? frame.input_pitch : 0u;
    a.composite_on_original = frame.input != nullptr && record.composite_on_original ? 1u : 0u;
    return a;
}

KernelArgSlot KernelArgAt(const SpirovaultKernelArgs& a, int index) {
    constexpr size_t kBuffer = sizeof(void*);
    constexpr size_t kScalar = 4;
    constexpr size_t kVector = sizeof(GpuFloat4);
    if (index >= GpuParamVectors::kFirstArgument &&
        index < GpuParamVectors::kFirstArgument + GpuParamVectors::kCount) {
        return {kVector, &a.params.vectors[index - GpuParamVectors::kFirstArgument]};
    }
    switch (index) {
        case 0:
            return {kBuffer, &a.output};
        case 1:
            return {kScalar, &a.output_pitch};
        case 2:
            return {kScalar, &a.pixel_size_flag};
        case 3:
            return {kScalar, &a.width};
        case 4:
            return {kScalar, &a.height};
        case 5:
            return {kScalar, &a.supersampling};
        case 23:
            return {kBuffer, &a.lights};
        case 24:
            return {kBuffer, &a.ramp};
        case 25:
            return {kScalar, &a.environment_present};
        case 26:
            return {kBuffer, &a.environment};
        case 27:
            return {kScalar, &a.environment_width};
        case 28:
            return {kScalar, &a.environment_height};
        case 29:
            return {kScalar, &a.hdri_rotation};
        case 30:
            return {kScalar, &a.hdri_intensity};
        case 31:
            return {kScalar, &a.hdri_samples};
        case 32:
            return {kScalar, &a.hdri_shadow_intensity};
        case 33:
            return {kScalar, &a.hdri_specular};
        case 34:
            return {kVector, &a.depth};
        case 35:
            return {kBuffer, &a.input};
        case 36:
            return {kScalar, &a.input_pitch};
        case 37:
            return {kScalar, &a.composite_on_original};
        default:
            return {0, nullptr};
    }
}
