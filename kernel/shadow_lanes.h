// The shadow ray's march, generic over the lane type: each lane asks whether anything blocks the
// segment from its point to its target. Deliberately without an include guard, like
// kernel/estimate_lanes.h; expects the same macros, and EstimateDistanceLanes for SV_LANE.

// Set in the mask where nothing blocks the segment from p (lifted off the surface along n) to
// the target.
SV_FN SV_MASK ShadowVisibleLanes(SV_LANE px, SV_LANE py, SV_LANE pz, SV_LANE nx, SV_LANE ny,
                                 SV_LANE nz, SV_LANE tx, SV_LANE ty, SV_LANE tz, SV_LANE eps,
                                 float footprint, const RenderSettings* s, int step_budget) {
    const SV_LANE ux = tx - px;
    const SV_LANE uy = ty - py;
    const SV_LANE uz = tz - pz;
    const SV_LANE dist = SvLaneSqrt(ux * ux + uy * uy + uz * uz);
    const SV_LANE len = SvMaxLane(dist, SV_SPLAT(1e-12f));
    const SV_LANE dx = ux / len;
    const SV_LANE dy = uy / len;
    const SV_LANE dz = uz / len;
    const SV_LANE lift = SV_SPLAT(10.0f) * eps;
    SV_LANE t = lift;
    SV_LANE x = px + nx * lift;
    SV_LANE y = py + ny * lift;
    SV_LANE z = pz + nz * lift;
    SV_LANE trap = SV_SPLAT(4.0f);
    SV_MASK live = SV_SPLAT(0.0f) == SV_SPLAT(0.0f);
    SV_MASK blocked = live == 0;
    for (int i = 0; i < step_budget && SvAnyLane(live); ++i) {
        const SV_LANE threshold = SvMinLane(SV_SPLAT(4.0f) * eps, t * SV_SPLAT(footprint) + eps);
        const SV_LANE d = EstimateDistanceLanes(x, y, z, &trap, s);
        const SV_MASK hit = live & (d < threshold);
        blocked = blocked | hit;
        live = live & (hit == 0);
        const SV_LANE step = d * SV_SPLAT(s->epsilon_scale);
        t = SvSelect(live, t + step, t);
        x = SvSelect(live, x + dx * step, x);
        y = SvSelect(live, y + dy * step, y);
        z = SvSelect(live, z + dz * step, z);
        live = live & ((t > dist) == 0);
    }
    return blocked == 0;
}
