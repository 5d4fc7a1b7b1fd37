// Distance estimate of the power-N set iterated in spherical coordinates: the trigonometric form
// for any power, the trigonometry-free one for integer powers.
#ifndef SPIROVAULT_KERNEL_ESTIMATE_H
#define SPIROVAULT_KERNEL_ESTIMATE_H

#include "kernel/one_lane.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

// The estimate with the angles as angles: any power, through the trigonometric functions.
SV_FN float EstimateDistanceTrig(Vec3 p, float* trap, const RenderSettings* s) {
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

// Integer powers take the trigonometry-free step. A unit built with SV_TRIG_POWER_STEP keeps
// every power on the trigonometric one, for comparing the two.
SV_FN int UsesIntegerPowerStep(const RenderSettings* s) {
#if defined(SV_TRIG_POWER_STEP)
    (void)s;
    return 0;
#else
    const float n = s->power;
    return n == sv_floor(n) && sv_fabs(n) >= 2.0f && sv_fabs(n) <= 1024.0f;
#endif
}

// Lowers *trap to the smallest orbit radius met; returns the distance estimate at p.
SV_FN float EstimateDistance(Vec3 p, float* trap, const RenderSettings* s) {
    if (UsesIntegerPowerStep(s)) return EstimateIntegerPower(p.x, p.y, p.z, trap, s);
    return EstimateDistanceTrig(p, trap, s);
}

SV_FN float EstimateDistanceLanes(float px, float py, float pz, float* trap,
                                  const RenderSettings* s) {
    return EstimateDistance(MakeVec3(px, py, pz), trap, s);
}

#endif
