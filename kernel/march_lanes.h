// The primary march, generic over the lane type: each lane sphere-traces its own camera ray.
// Deliberately without an include guard, like kernel/estimate_lanes.h; expects the same
// macros, and EstimateDistanceLanes for SV_LANE.

#define kMarchStartEpsilon 3e-7f

// Lanes whose ray meets the surface come back set in the mask, with the point after the final
// step, the distance travelled, the lowest orbit radius of the ray and the threshold met. The
// bounding sphere's value is its squared radius.
SV_FN SV_MASK MarchPrimaryLanes(SV_LANE ox, SV_LANE oy, SV_LANE oz, SV_LANE dx, SV_LANE dy,
                                SV_LANE dz, const RenderSettings* s, int step_budget,
                                float footprint, SV_LANE* hit_x, SV_LANE* hit_y, SV_LANE* hit_z,
                                SV_LANE* hit_t, SV_LANE* hit_trap, SV_LANE* hit_eps) {
    const SV_LANE zero = SV_SPLAT(0.0f);
    const SV_LANE b = ox * dx + oy * dy + oz * dz;
    const SV_LANE cx = oy * dz - oz * dy;
    const SV_LANE cy = oz * dx - ox * dz;
    const SV_LANE cz = ox * dy - oy * dx;
    const SV_LANE disc = SV_SPLAT(s->bounding_sphere) - (cx * cx + cy * cy + cz * cz);
    SV_MASK live = disc > zero;
    const SV_LANE h = SvLaneSqrt(SvSelect(live, disc, zero));
    const SV_LANE t_exit = h - b;
    live = live & (t_exit > zero);
    SV_MASK hit = zero != zero;
    SV_LANE t = SvMaxLane(-b - h, zero);
    SV_LANE px = ox + dx * t;
    SV_LANE py = oy + dy * t;
    SV_LANE pz = oz + dz * t;
    SV_LANE trap = SV_SPLAT(4.0f);
    SV_LANE eps = SV_SPLAT(kMarchStartEpsilon);
    for (int i = 0; i < step_budget && SvAnyLane(live); ++i) {
        SV_LANE lane_trap = trap;
        const SV_LANE dist = EstimateDistanceLanes(px, py, pz, &lane_trap, s);
        trap = SvSelect(live, lane_trap, trap);
        const SV_LANE step = dist * SV_SPLAT(s->epsilon_scale);
        t = SvSelect(live, t + step, t);
        px = SvSelect(live, px + dx * step, px);
        py = SvSelect(live, py + dy * step, py);
        pz = SvSelect(live, pz + dz * step, pz);
        const SV_MASK arrived = live & (dist < eps);
        hit = hit | arrived;
        *hit_x = SvSelect(arrived, px, *hit_x);
        *hit_y = SvSelect(arrived, py, *hit_y);
        *hit_z = SvSelect(arrived, pz, *hit_z);
        *hit_t = SvSelect(arrived, t, *hit_t);
        *hit_trap = SvSelect(arrived, trap, *hit_trap);
        *hit_eps = SvSelect(arrived, eps, *hit_eps);
        live = live & (arrived == 0) & ((t > t_exit) == 0);
        eps = SvSelect(live, SvMaxLane(SV_SPLAT(kMarchStartEpsilon), t * SV_SPLAT(footprint)), eps);
    }
    return hit;
}
