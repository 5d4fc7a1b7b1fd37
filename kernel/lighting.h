// Direct light: shadow rays, the soft-shadow factor of a light disk, diffuse and specular terms.
#ifndef SPIROVAULT_KERNEL_LIGHTING_H
#define SPIROVAULT_KERNEL_LIGHTING_H

#include "kernel/disk_sampling.h"
#include "kernel/march.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

// 1 when nothing blocks the segment from p to the target, 0 otherwise.
SV_FN int ShadowVisibility(Vec3 p, Vec3 n, Vec3 target, float eps, float footprint,
                           const RenderSettings* s, int step_budget) {
    return ShadowVisibleLanes(p.x, p.y, p.z, n.x, n.y, n.z, target.x, target.y, target.z, eps,
                              footprint, s, step_budget)
               ? 1
               : 0;
}

// Whether ShadowFactor marches a single ray, straight to the light's centre.
SV_FN int ShadowIsOneRay(float radius, float darkness, int exact_shortcuts) {
    return darkness > 0.0f && exact_shortcuts && radius <= 0.0f;
}

// The factor from the visibility of the one ray, when ShadowIsOneRay.
SV_FN float ShadowFactorOfOneRay(int visible, float darkness) {
    return 1.0f - (1.0f - (float)visible) * darkness;
}

// Shadow factor of a light disk of the given radius and darkness, seen from p.
// With exact_shortcuts set, a point light (radius <= 0) marches one ray instead of n identical
// ones; the mean of identical 0/1 visibilities is that visibility, so the result is the same.
SV_FN float ShadowFactor(Vec3 p, Vec3 n, Vec3 light_centre, float radius, float darkness, float eps,
                         float footprint, unsigned int seed, const RenderSettings* s,
                         int step_budget, int exact_shortcuts) {
    if (darkness <= 0.0f) return 1.0f;
    if (ShadowIsOneRay(radius, darkness, exact_shortcuts)) {
        return ShadowFactorOfOneRay(
            ShadowVisibility(p, n, light_centre, eps, footprint, s, step_budget), darkness);
    }
    const int count = SvMaxI(s->shadow_samples, 1);
    float sum = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Vec3 target = SampleLightDisk(light_centre, p, radius, i, count, seed);
        sum += (float)ShadowVisibility(p, n, target, eps, footprint, s, step_budget);
    }
    const float mean = sum / (float)count;
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
