#include "params/param_values.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace spirovault {

namespace {

float Float(const ParamValues& v, ParamIndex i) {
    return static_cast<float>(v[i].number);
}
// Truncates toward zero. Damaged stored values (NaN, beyond the i32 range) saturate instead of
// being undefined.
int Int(const ParamValues& v, ParamIndex i) {
    const double n = v[i].number;
    if (std::isnan(n)) return 0;
    if (n <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (n >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(n);
}
int Flag(const ParamValues& v, ParamIndex i) {
    return v[i].number != 0.0 ? 1 : 0;
}

void Rgb(const ParamValues& v, ParamIndex i, float* out) {
    out[0] = static_cast<float>(v[i].red / 255.0);
    out[1] = static_cast<float>(v[i].green / 255.0);
    out[2] = static_cast<float>(v[i].blue / 255.0);
}

}  // namespace

ParamValues DefaultParamValues() {
    ParamValues values{};
    for (const ParamSpec& spec : ParamTable()) {
        ParamValue& value = values[spec.index];
        value.number = spec.default_value;
        value.red = spec.default_color.red;
        value.green = spec.default_color.green;
        value.blue = spec.default_color.blue;
    }
    return values;
}

void StoreParamValues(const ParamValues& v, const ColorRamp* ramp, RenderSettings* s) {
    s->power = Float(v, kParamPower);
    s->bailout = Float(v, kParamBailout);
    s->max_iterations = Int(v, kParamMaxIterations);
    s->max_steps = Int(v, kParamMaxSteps);
    s->bounding_sphere = Float(v, kParamBoundingSphere);
    s->epsilon_scale = SvMaxF(Float(v, kParamEpsilonScale), 0.001f);
    s->rotation_x = Float(v, kParamRotationX);
    s->rotation_y = Float(v, kParamRotationY);
    s->rotation_z = Float(v, kParamRotationZ);
    s->julia_mode = Flag(v, kParamJuliaMode);
    s->julia_c[0] = Float(v, kParamJuliaX);
    s->julia_c[1] = Float(v, kParamJuliaY);
    s->julia_c[2] = Float(v, kParamJuliaZ);
    s->radiolaria = Flag(v, kParamRadiolaria);
    s->radiolaria_factor = Float(v, kParamRadiolariaFactor);
    s->phase_x = Float(v, kParamPhaseX);
    s->phase_y = Float(v, kParamPhaseY);
    s->ramp_stop_count = 0;
    std::memset(&s->ramp, 0, sizeof s->ramp);
    std::memset(&s->ramp_table, 0, sizeof s->ramp_table);
    if (ramp != nullptr) {
        s->ramp = *ramp;
        s->ramp_stop_count = ramp->stop_count;
        PackRampTable(ramp, &s->ramp_table);
    }
    s->orbit_scale = Float(v, kParamOrbitScale);
    s->orbit_gamma = Float(v, kParamOrbitGamma);
    s->specularity = Float(v, kParamSpecularity);
    s->specular_exponent = Float(v, kParamSpecularExponent);
    s->ao_type = Int(v, kParamAoType);
    s->ao_intensity = Float(v, kParamAoIntensity);
    s->ao_samples = Int(v, kParamAoSamples);
    s->ao_radius = Float(v, kParamAoRadius);
    // The parameter light is stored as (Light X, Light Z, Light Y): fractal z is up.
    s->light_position[0] = Float(v, kParamLightX);
    s->light_position[1] = Float(v, kParamLightZ);
    s->light_position[2] = Float(v, kParamLightY);
    Rgb(v, kParamLightColor, s->light_color);
    s->light_size = Float(v, kParamLightSize);
    s->light_intensity = Float(v, kParamLightIntensity);
    s->shadow_intensity = Float(v, kParamShadowIntensity);
    s->shadow_samples = Int(v, kParamShadowSamples);
    s->ambient_intensity = Float(v, kParamAmbientIntensity);
    Rgb(v, kParamAmbientColor, s->ambient_color);
    s->hdri_intensity = Float(v, kParamHdriIntensity);
    s->hdri_rotation = Float(v, kParamHdriRotation);
    s->hdri_samples = Int(v, kParamHdriSamples);
    s->hdri_shadow_intensity = Float(v, kParamHdriShadowIntensity);
    s->hdri_specular = Flag(v, kParamHdriSpecular);
    s->supersampling = Int(v, kParamSupersampling);
    s->dof_samples = Int(v, kParamDofSamples);
    s->composite_on_original = Flag(v, kParamCompositeOnOriginal);
    s->depth_map = Flag(v, kParamDepthMap);
    s->depth_start = Float(v, kParamDepthStart);
    s->depth_end = Float(v, kParamDepthEnd);
    s->lighting_enabled = 1;
    s->comp_light_count = 0;
    s->hdri_width = 0;
    s->hdri_height = 0;
    s->hdri_pixels = nullptr;
}

}  // namespace spirovault
