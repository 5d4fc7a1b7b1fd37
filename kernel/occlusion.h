// Ambient occlusion: cheap from the orbit trap, or by marching cosine-weighted rays.
#ifndef SPIROVAULT_KERNEL_OCCLUSION_H
#define SPIROVAULT_KERNEL_OCCLUSION_H

#include "kernel/estimate.h"
#include "kernel/hash.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

SV_FN float OrbitTrapOcclusion(float trap, const RenderSettings* s) {
    const float closeness = SvClampF(trap * 0.3f / (s->ao_radius + 0.001f), 0.0f, 1.0f);
    const float open = sv_pow(closeness, 0.25f * (float)s->ao_samples);
    return SvMaxF(0.0f, 1.0f - (1.0f - open) * s->ao_intensity);
}

// Steps per occlusion ray: few samples get longer rays, capped at 64.
SV_FN int RaytracedOcclusionSteps(const RenderSettings* s) {
    return SvClampI(4 * s->ao_samples, 16, 64);
}

SV_FN float RaytracedOcclusion(Vec3 p, Vec3 n, float eps, unsigned int seed,
                               const RenderSettings* s) {
    const int rays = SvMaxI(s->ao_samples, 1);
    const int steps = RaytracedOcclusionSteps(s);
    // Branchless orthonormal basis around the normal (Duff et al. 2017).
    const float sg = n.z >= 0.0f ? 1.0f : -1.0f;
    const float q = -1.0f / (sg + n.z);
    const float w = n.x * n.y * q;
    const Vec3 t1 = MakeVec3(1.0f + sg * n.x * n.x * q, sg * w, -sg * n.x);
    const Vec3 t2 = MakeVec3(w, sg + n.y * n.y * q, -n.y);
    float occlusion = 0.0f;
    unsigned int h = seed;
    for (int ray = 0; ray < rays; ++ray) {
        const unsigned int a = fmix32(h);
        const unsigned int b = fmix32(a);
        const unsigned int c = fmix32(b);
        const float u1 = UnitFromHash(b);
        const float phi = SV_TWO_PI * UnitFromHash(c);
        const float r = sv_sqrt(u1);
        const Vec3 dir =
            AddVec3(AddVec3(ScaleVec3(t1, r * sv_cos(phi)), ScaleVec3(t2, r * sv_sin(phi))),
                    ScaleVec3(n, sv_sqrt(SvMaxF(0.0f, 1.0f - u1))));
        Vec3 pos = AddVec3(p, ScaleVec3(n, 10.0f * eps));
        float t = 10.0f * eps;
        float trap = 4.0f;
        for (int i = 0; i < steps; ++i) {
            const float d = EstimateDistance(pos, &trap, s);
            const float step = d * s->epsilon_scale;
            t += step;
            pos = AddVec3(pos, ScaleVec3(dir, step));
            if (d < eps) {
                if (t < s->ao_radius) occlusion += 1.0f - t / s->ao_radius;
                break;
            }
            if (t > s->ao_radius) break;
        }
        h += 19937u;
    }
    return SvMaxF(0.0f, 1.0f - (occlusion / (float)rays) * s->ao_intensity);
}

SV_FN float AmbientOcclusion(Vec3 p, Vec3 n, float trap, float eps, unsigned int seed,
                             const RenderSettings* s) {
    if (s->ao_intensity <= 0.0f) return 1.0f;
    if (s->ao_type == kAoTypeRaytraced) return RaytracedOcclusion(p, n, eps, seed, s);
    return OrbitTrapOcclusion(trap, s);
}

#endif
