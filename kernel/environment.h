// Image-based light from an equirectangular environment: lookup, diffuse and glossy terms.
#ifndef SPIROVAULT_KERNEL_ENVIRONMENT_H
#define SPIROVAULT_KERNEL_ENVIRONMENT_H

#include "kernel/estimate.h"
#include "kernel/hash.h"
#include "kernel/portable.h"
#include "kernel/settings.h"

// Bilinear lookup; columns wrap at the azimuth seam, rows clamp at the poles (+z is the top row).
SV_FN Vec3 SampleEnvironment(SV_GLOBAL const float* pixels, int width, int height, Vec3 d,
                             float degrees) {
    if (pixels == 0 || width < 1 || height < 1) return MakeVec3(0.0f, 0.0f, 0.0f);
    const float rho = degrees * SV_DEG_TO_RAD;
    const float cr = sv_cos(rho);
    const float sr = sv_sin(rho);
    const float xr = d.x * cr - d.y * sr;
    const float yr = d.y * cr + d.x * sr;
    const SvWide pi = (SvWide)3.14159265358979323846;
    const float u = (float)((sv_wide_atan2((SvWide)yr, (SvWide)xr) + pi) / ((SvWide)2 * pi));
    const float v = (float)((SvWide)0.5 - sv_wide_asin((SvWide)SvClampF(d.z, -1.0f, 1.0f)) / pi);
    const float fx = u * (float)width - 0.5f;
    const float fy = v * (float)height - 0.5f;
    const int x0 = (int)sv_floor(fx);
    const int y0 = (int)sv_floor(fy);
    const int xa = (width + x0 % width) % width;
    const int xb = (width + (x0 + 1) % width) % width;
    const int ya = SvClampI(y0, 0, height - 1);
    const int yb = SvClampI(y0 + 1, 0, height - 1);
    const float wx = fx - (float)x0;
    const float wy = fy - (float)y0;
    // Unsigned indices: a 32767-square image has more than 2^31 floats.
    const unsigned int w = (unsigned int)width;
    SV_GLOBAL const float* p00 = pixels + ((unsigned int)ya * w + (unsigned int)xa) * 3u;
    SV_GLOBAL const float* p01 = pixels + ((unsigned int)ya * w + (unsigned int)xb) * 3u;
    SV_GLOBAL const float* p10 = pixels + ((unsigned int)yb * w + (unsigned int)xa) * 3u;
    SV_GLOBAL const float* p11 = pixels + ((unsigned int)yb * w + (unsigned int)xb) * 3u;
    float out[3];
    for (int c = 0; c < 3; ++c) {
        const float top = p00[c] + (p01[c] - p00[c]) * wx;
        const float bottom = p10[c] + (p11[c] - p10[c]) * wx;
        out[c] = top + (bottom - top) * wy;
    }
    return MakeVec3(out[0], out[1], out[2]);
}

// Unit tangent frame around an axis, shared by the diffuse and glossy environment terms.
SV_FN void EnvironmentFrame(Vec3 axis, Vec3* tangent, Vec3* bitangent) {
    *tangent = NormalizeVec3(sv_fabs(axis.z) < 0.999f ? MakeVec3(-axis.y, axis.x, 0.0f)
                                                      : MakeVec3(0.0f, -axis.z, axis.y));
    *bitangent = NormalizeVec3(CrossVec3(axis, *tangent));
}

// Visibility of the environment along dir: 1 open, 0 blocked, softened by the shadow intensity.
SV_FN float EnvironmentVisibility(Vec3 p, Vec3 n, Vec3 dir, float offset, float threshold,
                                  int steps, const RenderSettings* s) {
    if (s->hdri_shadow_intensity <= 0.0f) return 1.0f;
    float v = 1.0f;
    Vec3 pos = AddVec3(p, ScaleVec3(n, offset));
    float t = offset;
    float trap = 4.0f;
    const float reach = 2.0f * s->bounding_sphere;
    for (int i = 0; i < steps; ++i) {
        const float d = EstimateDistance(pos, &trap, s);
        if (d < threshold) {
            v = 0.0f;
            break;
        }
        const float step = d * s->epsilon_scale;
        t += step;
        pos = AddVec3(pos, ScaleVec3(dir, step));
        if (t > reach) break;
    }
    return 1.0f - (1.0f - v) * s->hdri_shadow_intensity;
}

SV_FN Vec3 EnvironmentDiffuse(Vec3 n, Vec3 p, unsigned int seed, float eps, const RenderSettings* s,
                              int step_budget) {
    // A count below 1 (only from damaged data) would divide zero by zero.
    if (s->hdri_samples < 1) return MakeVec3(0.0f, 0.0f, 0.0f);
    Vec3 tn;
    Vec3 bn;
    EnvironmentFrame(n, &tn, &bn);
    Vec3 sum = MakeVec3(0.0f, 0.0f, 0.0f);
    unsigned int h = seed;
    for (int j = 0; j < s->hdri_samples; ++j) {
        const unsigned int a = fmix32(h);
        const unsigned int b = fmix32(a);
        const float u1 = UnitFromHash(a);
        const float r = sv_sqrt(u1);
        const float phi = SV_TWO_PI * UnitFromHash(b);
        const Vec3 dir =
            AddVec3(AddVec3(ScaleVec3(tn, r * sv_cos(phi)), ScaleVec3(bn, r * sv_sin(phi))),
                    ScaleVec3(n, sv_sqrt(SvMaxF(0.0f, 1.0f - u1))));
        const Vec3 env =
            SampleEnvironment(s->hdri_pixels, s->hdri_width, s->hdri_height, dir, s->hdri_rotation);
        const float v = EnvironmentVisibility(p, n, dir, 10.0f * eps, eps, step_budget, s);
        sum = AddVec3(sum, ScaleVec3(env, v));
        h += 7919u;
    }
    return ScaleVec3(sum, s->hdri_intensity / (float)s->hdri_samples);
}

// Glossy samples: fewer for sharper lobes, never fewer than 4 unless fewer are asked for.
SV_FN int EnvironmentSpecularCount(const RenderSettings* s) {
    const float e = SvMaxF(s->specular_exponent, 0.01f);
    const int count = (int)sv_ceil((float)s->hdri_samples / sv_sqrt(SvMaxF(e, 1.0f)));
    return SvMinI(SvMaxI(count, 4), s->hdri_samples);
}

SV_FN Vec3 EnvironmentSpecular(Vec3 n, Vec3 view, Vec3 p, unsigned int seed, float eps,
                               const RenderSettings* s, int step_budget) {
    const Vec3 black = MakeVec3(0.0f, 0.0f, 0.0f);
    if (s->specularity <= 0.0f) return black;
    const Vec3 rr = NormalizeVec3(SubVec3(ScaleVec3(n, 2.0f * DotVec3(n, view)), view));
    const float e = SvMaxF(s->specular_exponent, 0.01f);
    const int count = EnvironmentSpecularCount(s);
    const int steps = SvMaxI(step_budget / 2, 8);
    Vec3 tr;
    Vec3 br;
    EnvironmentFrame(rr, &tr, &br);
    Vec3 sum = black;
    int used = 0;
    unsigned int h = seed;
    for (int j = 0; j < count; ++j) {
        const unsigned int a = fmix32(h);
        const unsigned int b = fmix32(a);
        const float cos_t = sv_pow(UnitFromHash(a), 1.0f / (e + 1.0f));
        const float sin_t = sv_sqrt(SvMaxF(0.0f, 1.0f - cos_t * cos_t));
        const float phi = SV_TWO_PI * UnitFromHash(b);
        const Vec3 dir =
            AddVec3(AddVec3(ScaleVec3(tr, sin_t * sv_cos(phi)), ScaleVec3(br, sin_t * sv_sin(phi))),
                    ScaleVec3(rr, cos_t));
        h += 104729u;
        if (DotVec3(dir, n) <= 0.0f) continue;  // below the surface: skipped, not counted
        const Vec3 env =
            SampleEnvironment(s->hdri_pixels, s->hdri_width, s->hdri_height, dir, s->hdri_rotation);
        const float v = EnvironmentVisibility(p, n, dir, 40.0f * eps, 4.0f * eps, steps, s);
        sum = AddVec3(sum, ScaleVec3(env, v));
        used += 1;
    }
    if (used == 0) return black;
    return ScaleVec3(sum, s->specularity * s->hdri_intensity / (float)used);
}

#endif
