// The primary march and the shadow march with one float per lane, over the estimate.
#ifndef SPIROVAULT_KERNEL_MARCH_H
#define SPIROVAULT_KERNEL_MARCH_H

#include "kernel/estimate.h"
#include "kernel/march_lanes.h"
#include "kernel/portable.h"
#include "kernel/settings.h"
#include "kernel/shadow_lanes.h"

typedef struct MarchHit {
    Vec3 point;  // after the final step
    float t;     // distance travelled from the origin
    float trap;  // minimum orbit radius over every estimate of the ray
    float eps;   // the threshold the hit satisfied
} MarchHit;

// Sphere-traces one camera ray. Returns 1 on a hit (filling *hit), 0 on a miss.
SV_FN int MarchPrimary(Vec3 o, Vec3 d, const RenderSettings* s, int step_budget, float footprint,
                       MarchHit* hit) {
    Vec3 point = o;
    float t = 0.0f;
    float trap = 4.0f;
    float eps = kMarchStartEpsilon;
    if (!MarchPrimaryLanes(o.x, o.y, o.z, d.x, d.y, d.z, s, step_budget, footprint, &point.x,
                           &point.y, &point.z, &t, &trap, &eps))
        return 0;
    hit->point = point;
    hit->t = t;
    hit->trap = trap;
    hit->eps = eps;
    return 1;
}

#endif
