// Stratified points on the unit disk, for lens samples and for soft-shadow light disks.
#ifndef SPIROVAULT_KERNEL_DISK_SAMPLING_H
#define SPIROVAULT_KERNEL_DISK_SAMPLING_H

#include "kernel/hash.h"
#include "kernel/portable.h"

// Point i of n in the unit disk: stratified on a g x g grid (g = trunc(sqrt(n))), the rest
// uniform, then the concentric square-to-disk map.
SV_FN void SampleDisk(int i, int n, unsigned int seed, float* dx, float* dy) {
    const int g = SvMaxI(1, (int)sv_sqrt((float)n));
    const unsigned int a = fmix32((unsigned int)i * 92821u + seed);
    const unsigned int b = fmix32(a);
    float u1;
    float u2;
    if (i >= g * g) {
        u1 = UnitFromHash(a);
        u2 = UnitFromHash(b);
    } else {
        u1 = (UnitFromHash(a) + (float)(i / g)) / (float)g;
        u2 = (UnitFromHash(b) + (float)(i % g)) / (float)g;
    }
    const float sx = 2.0f * u1 - 1.0f;
    const float sy = 2.0f * u2 - 1.0f;
    if (sx == 0.0f && sy == 0.0f) {
        *dx = 0.0f;
        *dy = 0.0f;
        return;
    }
    float r;
    float phi;
    if (sv_fabs(sx) > sv_fabs(sy)) {
        r = sx;
        phi = 0.7853982f * (sy / sx);
    } else {
        r = sy;
        phi = 1.5707964f - 0.7853982f * (sx / sy);
    }
    *dx = r * sv_cos(phi);
    *dy = r * sv_sin(phi);
}

// A point on the disk of the given radius centred on the light and facing the shaded point.
SV_FN Vec3 SampleLightDisk(Vec3 light_centre, Vec3 p, float radius, int i, int n,
                           unsigned int seed) {
    if (radius <= 0.0f) return light_centre;
    const Vec3 to_light = SubVec3(light_centre, p);
    const float len = LengthVec3(to_light);
    const Vec3 w = len > 1e-8f ? ScaleVec3(to_light, 1.0f / len) : MakeVec3(0.0f, 0.0f, 1.0f);
    const Vec3 u = NormalizeVec3(sv_fabs(w.z) < 0.999f ? MakeVec3(-w.y, w.x, 0.0f)
                                                       : MakeVec3(0.0f, -w.z, w.y));
    const Vec3 v = CrossVec3(w, u);
    float dx;
    float dy;
    SampleDisk(i, n, seed, &dx, &dy);
    return AddVec3(light_centre, AddVec3(ScaleVec3(u, radius * dx), ScaleVec3(v, radius * dy)));
}

#endif
