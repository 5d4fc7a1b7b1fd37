// Direct light: shadow rays, the soft-shadow factor of a light disk, diffuse and specular terms.
#ifndef SPIROVAULT_RENDER_LIGHTING_H
#define SPIROVAULT_RENDER_LIGHTING_H

#include "render/disk_sampling.h"
#include "render/estimate.h"
#include "render/portable.h"
#include "render/settings.h"

// 1 when nothing blocks the segment from p to the target, 0 otherwise.
SV_FN int ShadowVisibility(Vec3 p, Vec3 n, Vec3 target, float eps, float footprint,
                           const RenderSettings* s, int step_budget) {
    const Vec3 to_target = SubVec3(target, p);
    const float dist = LengthVec3(to_target);
    const Vec3 dir = NormalizeVec3(to_target);
    float t = 10.0f * eps;
    Vec3 pos = AddVec3(p, ScaleVec3(n, 10.0f * eps));
    float trap = 4.0f;
    for (int i = 0; i < step_budget; ++i) {
        const float threshold = SvMinF(4.0f * eps, t * footprint + eps);
        const float d = EstimateDistance(pos, &trap, s);
        if (d < threshold) return 0;
        const float step = d * s->epsilon_scale;
        t += step;
        pos = AddVec3(pos, ScaleVec3(dir, step));
        if (t > dist) break;
    }
    return 1;
}

// Shadow factor of a light disk of the given radius and darkness, seen from p.
// With exact_shortcuts set, a point light (radius <= 0) marches one ray instead of n identical
// ones; the mean of identical 0/1 visibilities is that visibility, so the result is the same.
SV_FN float ShadowFactor(Vec3 p, Vec3 n, Vec3 light_centre, float radius, float darkness, float eps,
                         float footprint, unsigned int seed, const RenderSettings* s,
                         int step_budget, int exact_shortcuts) {
    if (darkness <= 0.0f) return 1.0f;
    const int count = SvMaxI(s->shadow_samples, 1);
    float mean;
    if (exact_shortcuts && radius <= 0.0f) {
        mean = (float)ShadowVisibility(p, n, light_centre, eps, footprint, s, step_budget);
    } else {
        float sum = 0.0f;
        for (int i = 0; i < count; ++i) {
            const Vec3 target = SampleLightDisk(light_centre, p, radius, i, count, seed);
            sum += (float)ShadowVisibility(p, n, target, eps, footprint, s, step_budget);
        }
        mean = sum / (float)count;
    }
    return 1.0f - (1.0f - mean) * darkness;
}

typedef struct LightContribution {
    Vec3 diffuse;
    float specular;  // white, already scaled by the light's luminance
} LightContribution;

SV_FN LightContribution ShadeLight(Vec3 p, Vec3 n, Vec3 eye, Vec3 light_pos, Vec3 albedo,
                                   Vec3 light_rgb, const RenderSettings* s, float shadow) {
    LightContribution out;
    out.diffuse = MakeVec3(0.0f, 0.0f, 0.0f);
    out.specular = 0.0f;
    const Vec3 ld = NormalizeVec3(SubVec3(light_pos, p));
    const float nl = DotVec3(ld, n);
    if (nl <= 0.0f) return out;
    out.diffuse = ScaleVec3(MulVec3(light_rgb, albedo), nl * shadow);
    const Vec3 v = NormalizeVec3(SubVec3(eye, p));
    const Vec3 reflected = SubVec3(ScaleVec3(n, 2.0f * nl), ld);
    const float rv = DotVec3(reflected, v);
    if (rv >= 0.0f) {
        out.specular =
            sv_pow(rv, s->specular_exponent) * s->specularity * Luminance(light_rgb) * shadow;
    }
    return out;
}

#endif
