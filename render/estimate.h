// Distance estimate of the power-N set iterated in spherical coordinates, and the primary march.
#ifndef SPIROVAULT_RENDER_ESTIMATE_H
#define SPIROVAULT_RENDER_ESTIMATE_H

#include "render/portable.h"
#include "render/settings.h"

// Lowers *trap to the smallest orbit radius met; returns the distance estimate at p.
SV_FN float EstimateDistance(Vec3 p, float* trap, const RenderSettings* s) {
    const float n = s->power;
    const Vec3 c = s->julia_mode ? LoadVec3(s->julia_c) : p;
    Vec3 z = p;
    float r = LengthVec3(z);
    float phi = sv_atan2(z.y, z.x);
    // The starting polar angle is measured from the xy plane; later ones from the z axis.
    float theta = sv_asin(SvClampF(z.z / SvMaxF(r, 1e-12f), -1.0f, 1.0f));
    *trap = SvMinF(*trap, r);
    float dr = 1.0f;
    float phi_d = 0.0f;
    float theta_d = 0.0f;
    for (int iter = 0; iter < s->max_iterations; ++iter) {
        // Running derivative, kept in the same spherical form, from the pre-step values.
        const float m = sv_pow(r, n - 1.0f) * n * dr;
        const float a = (n - 1.0f) * theta + theta_d;
        const float b = (n - 1.0f) * phi + phi_d;
        const float msa = m * sv_sin(a);
        const Vec3 d = MakeVec3(msa * sv_cos(b) + 1.0f, msa * sv_sin(b), m * sv_cos(a));
        dr = LengthVec3(d);
        phi_d = sv_atan2(d.y, d.x);
        theta_d = sv_acos(SvClampF(d.z / SvMaxF(dr, 1e-12f), -1.0f, 1.0f));

        const float rho = sv_pow(r, n);
        theta = n * theta;
        phi = n * phi;
        const float rho_st = rho * sv_sin(theta);
        z = MakeVec3(rho_st * sv_cos(phi) + c.x, rho_st * sv_sin(phi) + c.y,
                     rho * sv_cos(theta) + c.z);
        if (s->radiolaria && z.y > s->radiolaria_factor) z.y = s->radiolaria_factor;
        r = LengthVec3(z);
        *trap = SvMinF(*trap, r);
        if (r > s->bailout) break;
        phi = sv_atan2(z.y, z.x) + s->phase_x;
        theta = sv_acos(SvClampF(z.z / SvMaxF(r, 1e-12f), -1.0f, 1.0f)) + s->phase_y;
    }
    return 0.5f * sv_log(r) * r / SvMaxF(dr, 1e-12f);
}

typedef struct MarchHit {
    Vec3 point;  // after the final step
    float t;     // distance travelled from the origin
    float trap;  // minimum orbit radius over every estimate of the ray
    float eps;   // the threshold the hit satisfied
} MarchHit;

#define kMarchStartEpsilon 3e-7f

// Sphere-traces one camera ray. The bounding sphere's value is its squared radius. Returns 1 on a
// hit (filling *hit), 0 on a miss.
SV_FN int MarchPrimary(Vec3 o, Vec3 d, const RenderSettings* s, int step_budget, float footprint,
                       MarchHit* hit) {
    const float b = DotVec3(o, d);
    const Vec3 oxd = CrossVec3(o, d);
    const float disc = s->bounding_sphere - DotVec3(oxd, oxd);
    if (disc <= 0.0f) return 0;
    const float h = sv_sqrt(disc);
    const float t_exit = h - b;
    if (t_exit <= 0.0f) return 0;
    float t = SvMaxF(-b - h, 0.0f);
    Vec3 p = AddVec3(o, ScaleVec3(d, t));
    float trap = 4.0f;
    float eps = kMarchStartEpsilon;
    for (int i = 0; i < step_budget; ++i) {
        const float dist = EstimateDistance(p, &trap, s);
        const float step = dist * s->epsilon_scale;
        t += step;
        p = AddVec3(p, ScaleVec3(d, step));
        if (dist < eps) {
            hit->point = p;
            hit->t = t;
            hit->trap = trap;
            hit->eps = eps;
            return 1;
        }
        if (t > t_exit) return 0;
        eps = SvMaxF(kMarchStartEpsilon, t * footprint);
    }
    return 0;
}

#endif
