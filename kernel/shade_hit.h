// The colour of one hit sample: ramp albedo, normal, occlusion, lights, environment, ambient.
#ifndef SPIROVAULT_KERNEL_SHADE_HIT_H
#define SPIROVAULT_KERNEL_SHADE_HIT_H

#include "kernel/color_ramp.h"
#include "kernel/environment.h"
#include "kernel/estimate.h"
#include "kernel/lighting.h"
#include "kernel/occlusion.h"
#include "kernel/portable.h"
#include "kernel/settings.h"
#include "kernel/view_frame.h"

// The random seeds of one sample (pixel, supersample and lens indices hashed together).
typedef struct HitSeeds {
    unsigned int occlusion;
    unsigned int light_shadow;
    unsigned int comp_light_shadow;  // XOR-ed with l * 18013 for composition light l
    unsigned int environment;
} HitSeeds;

// The six points around p whose estimates give the gradient, in the order NormalFromProbes
// takes their distances: +x, -x, +y, -y, +z, -z.
SV_FN void NormalProbePoints(Vec3 p, float h, Vec3* points) {
    points[0] = MakeVec3(p.x + h, p.y, p.z);
    points[1] = MakeVec3(p.x - h, p.y, p.z);
    points[2] = MakeVec3(p.x, p.y + h, p.z);
    points[3] = MakeVec3(p.x, p.y - h, p.z);
    points[4] = MakeVec3(p.x, p.y, p.z + h);
    points[5] = MakeVec3(p.x, p.y, p.z - h);
}

SV_FN Vec3 NormalFromProbes(const float* d, float h) {
    const Vec3 g = DivVec3(MakeVec3(d[0] - d[1], d[2] - d[3], d[4] - d[5]), 2.0f * h);
    return NormalizeVec3(g);
}

SV_FN Vec3 EstimateNormal(Vec3 p, float h, const RenderSettings* s) {
    Vec3 points[6];
    NormalProbePoints(p, h, points);
    float d[6];
    for (int k = 0; k < 6; ++k) {
        float scratch = 4.0f;
        d[k] = EstimateDistance(points[k], &scratch, s);
    }
    return NormalFromProbes(d, h);
}

// The step the normal is estimated with at a hit.
SV_FN float NormalProbeStep(const MarchHit* hit) {
    return hit->eps * 0.5f;
}

SV_FN Vec3 RampAlbedo(float trap, const RenderSettings* s) {
    float f = SvClampF(trap / SvMaxF(s->orbit_scale, 0.001f), 0.0f, 1.0f);
    f = sv_pow(f, SvMaxF(s->orbit_gamma, 0.01f));
    float r;
    float g;
    float b;
    float a;
    SampleRamp(&s->ramp, f, &r, &g, &b, &a);
    return MakeVec3(r, g, b);
}

SV_FN Vec3 AddLight(Vec3 lit, LightContribution c) {
    return AddVec3(lit, AddVec3(c.diffuse, MakeVec3(c.specular, c.specular, c.specular)));
}

// Shading never depends on the seeds when every random term is off or degenerate; the pixel
// sampler then shades identical lens rays once.
SV_FN int ShadingUsesSeeds(const RenderSettings* s) {
    if (s->ao_intensity > 0.0f && s->ao_type == kAoTypeRaytraced) return 1;
    if (s->shadow_intensity > 0.0f && s->light_size > 0.0f) return 1;
    const int lights = SvClampI(s->comp_light_count, 0, kMaxCompLights);
    for (int l = 0; l < lights; ++l) {
        const CompLight* cl = &s->comp_lights[l];
        if (cl->casts_shadows && cl->shadow_darkness > 0.0f && cl->shadow_diffusion > 0.0f)
            return 1;
    }
    return s->hdri_pixels != 0 && s->hdri_width > 0 && s->hdri_height > 0;
}

// What a packet of hits may find for all of them at once before shading each.
typedef struct HitPrepass {
    Vec3 normal;
    int light_shadow_known;  // else the parameter light's shadow is marched while shading
    float light_shadow;
} HitPrepass;

// Shades a hit with the normal (and perhaps the light's shadow) found beforehand.
SV_FN Vec3 ShadeHitPrepared(const MarchHit* hit, const HitPrepass* pre, const ViewFrame* vf,
                            const RenderSettings* s, HitSeeds seeds, int exact_shortcuts) {
    const Vec3 p = hit->point;
    const float eps = hit->eps;
    const Vec3 n = pre->normal;
    const Vec3 albedo = RampAlbedo(hit->trap, s);
    const float occlusion = AmbientOcclusion(p, n, hit->trap, eps, seeds.occlusion, s);

    const float light_shadow =
        pre->light_shadow_known
            ? pre->light_shadow
            : ShadowFactor(p, n, vf->light, s->light_size, s->shadow_intensity, eps, vf->footprint,
                           seeds.light_shadow, s, vf->step_budget, exact_shortcuts);
    Vec3 lit = AddLight(MakeVec3(0.0f, 0.0f, 0.0f), ShadeLight(p, n, vf->eye, vf->light, albedo,
                                                               vf->light_rgb, s, light_shadow));

    const int lights = SvClampI(s->comp_light_count, 0, kMaxCompLights);
    for (int l = 0; l < lights; ++l) {
        const CompLight* cl = &s->comp_lights[l];
        const Vec3 pos = RotateVec3(vf, LoadVec3(cl->position));
        const Vec3 rgb = ScaleVec3(LoadVec3(cl->color), cl->intensity);
        float shadow = 1.0f;
        if (cl->casts_shadows && cl->shadow_darkness > 0.0f) {
            shadow =
                ShadowFactor(p, n, pos, cl->shadow_diffusion, cl->shadow_darkness, eps,
                             vf->footprint, seeds.comp_light_shadow ^ ((unsigned int)l * 18013u), s,
                             vf->step_budget, exact_shortcuts);
        }
        lit = AddLight(lit, ShadeLight(p, n, vf->eye, pos, albedo, rgb, s, shadow));
    }

    if (s->hdri_pixels != 0 && s->hdri_width > 0 && s->hdri_height > 0) {
        lit = AddVec3(lit, MulVec3(albedo, EnvironmentDiffuse(n, p, seeds.environment, eps, s,
                                                              vf->step_budget)));
        if (s->hdri_specular) {
            const Vec3 view = NormalizeVec3(SubVec3(vf->eye, p));
            lit = AddVec3(lit, EnvironmentSpecular(n, view, p, seeds.environment ^ 0x9e3779b9u, eps,
                                                   s, vf->step_budget));
        }
    }

    lit = AddVec3(lit, ScaleVec3(LoadVec3(s->ambient_color), s->ambient_intensity));
    lit = ScaleVec3(lit, occlusion);
    return MakeVec3(SvClampF(lit.x, 0.0f, 100.0f), SvClampF(lit.y, 0.0f, 100.0f),
                    SvClampF(lit.z, 0.0f, 100.0f));
}

SV_FN Vec3 ShadeHit(const MarchHit* hit, const ViewFrame* vf, const RenderSettings* s,
                    HitSeeds seeds, int exact_shortcuts) {
    HitPrepass pre;
    pre.normal = EstimateNormal(hit->point, NormalProbeStep(hit), s);
    pre.light_shadow_known = 0;
    pre.light_shadow = 1.0f;
    return ShadeHitPrepared(hit, &pre, vf, s, seeds, exact_shortcuts);
}

#endif
