// The integer-power estimate, generic over the lane type. Deliberately
// without an include guard: kernel/one_lane.h includes it once with one float per lane, and a
// CPU packet unit includes it again with its vector type. Expects SV_LANE (lane floats),
// SV_MASK (lane masks) and SV_SPLAT(x) (every lane x) to be defined, with the lane functions of
// kernel/lanes.h for them.

// A unit (cos, sin) pair times another: the angles add.
SV_FN void TurnPair(SV_LANE* c, SV_LANE* s, SV_LANE oc, SV_LANE os) {
    const SV_LANE nc = *c * oc - *s * os;
    const SV_LANE ns = *s * oc + *c * os;
    *c = nc;
    *s = ns;
}

// The angle of (c, s) times k, by repeated squaring; a negative k turns the other way.
SV_FN void PairPower(SV_LANE c, SV_LANE s, int k, SV_LANE* oc, SV_LANE* os) {
    int e = k < 0 ? -k : k;
    SV_LANE bc = c;
    SV_LANE bs = s;
    // The lowest set bit starts the product, so that one factor is not multiplied by (1, 0).
    while ((e & 1) == 0) {
        TurnPair(&bc, &bs, bc, bs);
        e >>= 1;
    }
    SV_LANE rc = bc;
    SV_LANE rs = bs;
    e >>= 1;
    while (e != 0) {
        TurnPair(&bc, &bs, bc, bs);
        if (e & 1) TurnPair(&rc, &rs, bc, bs);
        e >>= 1;
    }
    *oc = rc;
    *os = k < 0 ? -rs : rs;
}

// x to the integer power k (k != 0), by repeated squaring.
SV_FN SV_LANE RealPower(SV_LANE x, int k) {
    int e = k < 0 ? -k : k;
    SV_LANE b = x;
    while ((e & 1) == 0) {
        b = b * b;
        e >>= 1;
    }
    SV_LANE r = b;
    e >>= 1;
    while (e != 0) {
        b = b * b;
        if (e & 1) r = r * b;
        e >>= 1;
    }
    return k < 0 ? SV_SPLAT(1.0f) / r : r;
}

// The direction of (x, y) in the plane as a unit pair; (1, 0) for the origin, as atan2 gives 0.
SV_FN void PlanePair(SV_LANE x, SV_LANE y, SV_LANE len, SV_LANE* c, SV_LANE* s) {
    const SV_MASK some = len > SV_SPLAT(0.0f);
    const SV_LANE safe = SvSelect(some, len, SV_SPLAT(1.0f));
    *c = SvSelect(some, x / safe, SV_SPLAT(1.0f));
    *s = SvSelect(some, y / safe, SV_SPLAT(0.0f));
}

// The estimate for an integer power N, |N| >= 2: the same iteration as the trigonometric one,
// with every angle kept as a unit (cos, sin) pair, so that multiplying an angle by N is a
// complex power and adding angles is a complex product. The polar angle starts from the xy
// plane and is measured from the z axis after every round, as in the trigonometric form.
SV_FN SV_LANE EstimateIntegerPower(SV_LANE px, SV_LANE py, SV_LANE pz, SV_LANE* trap,
                                   const RenderSettings* s) {
    const int n = (int)s->power;
    const SV_LANE nf = SV_SPLAT((float)n);
    const SV_LANE cx = s->julia_mode ? SV_SPLAT(s->julia_c[0]) : px;
    const SV_LANE cy = s->julia_mode ? SV_SPLAT(s->julia_c[1]) : py;
    const SV_LANE cz = s->julia_mode ? SV_SPLAT(s->julia_c[2]) : pz;
    const int phased_x = s->phase_x != 0.0f;
    const int phased_y = s->phase_y != 0.0f;
    const SV_LANE phase_xc = SV_SPLAT(sv_cos(s->phase_x));
    const SV_LANE phase_xs = SV_SPLAT(sv_sin(s->phase_x));
    const SV_LANE phase_yc = SV_SPLAT(sv_cos(s->phase_y));
    const SV_LANE phase_ys = SV_SPLAT(sv_sin(s->phase_y));
    const SV_LANE tiny = SV_SPLAT(1e-12f);
    const SV_LANE one = SV_SPLAT(1.0f);

    SV_LANE zx = px;
    SV_LANE zy = py;
    SV_LANE zz = pz;
    SV_LANE r = SvLaneSqrt(zx * zx + zy * zy + zz * zz);
    SV_LANE rxy = SvLaneSqrt(zx * zx + zy * zy);
    SV_LANE phi_c;
    SV_LANE phi_s;
    PlanePair(zx, zy, rxy, &phi_c, &phi_s);
    // From the xy plane: sin is z / r, cos the planar share (1 at the origin, as asin(0)).
    SV_LANE theta_s = SvClampLane(zz / SvMaxLane(r, tiny), -one, one);
    SV_LANE theta_c = SvSelect(r > SV_SPLAT(0.0f), rxy / SvMaxLane(r, tiny), one);
    *trap = SvMinLane(*trap, r);
    SV_LANE dr = one;
    SV_LANE phi_dc = one;
    SV_LANE phi_ds = SV_SPLAT(0.0f);
    SV_LANE theta_dc = one;
    SV_LANE theta_ds = SV_SPLAT(0.0f);
    SV_MASK active = SV_SPLAT(0.0f) == SV_SPLAT(0.0f);
    for (int iter = 0; iter < s->max_iterations; ++iter) {
        // Running derivative, from the pre-step values.
        const SV_LANE r_n1 = RealPower(r, n - 1);
        const SV_LANE m = r_n1 * nf * dr;
        SV_LANE tn1_c;
        SV_LANE tn1_s;
        SV_LANE pn1_c;
        SV_LANE pn1_s;
        PairPower(theta_c, theta_s, n - 1, &tn1_c, &tn1_s);
        PairPower(phi_c, phi_s, n - 1, &pn1_c, &pn1_s);
        SV_LANE a_c = tn1_c;
        SV_LANE a_s = tn1_s;
        TurnPair(&a_c, &a_s, theta_dc, theta_ds);
        SV_LANE b_c = pn1_c;
        SV_LANE b_s = pn1_s;
        TurnPair(&b_c, &b_s, phi_dc, phi_ds);
        const SV_LANE msa = m * a_s;
        const SV_LANE dx = msa * b_c + one;
        const SV_LANE dy = msa * b_s;
        const SV_LANE dz = m * a_c;
        const SV_LANE new_dr = SvLaneSqrt(dx * dx + dy * dy + dz * dz);
        const SV_LANE dxy = SvLaneSqrt(dx * dx + dy * dy);
        SV_LANE new_phi_dc;
        SV_LANE new_phi_ds;
        PlanePair(dx, dy, dxy, &new_phi_dc, &new_phi_ds);
        const SV_LANE safe_dr = SvMaxLane(new_dr, tiny);

        // The step itself: the angles times N, the radius to the N-th power.
        const SV_LANE rho = r_n1 * r;
        SV_LANE tn_c = tn1_c;
        SV_LANE tn_s = tn1_s;
        TurnPair(&tn_c, &tn_s, theta_c, theta_s);
        SV_LANE pn_c = pn1_c;
        SV_LANE pn_s = pn1_s;
        TurnPair(&pn_c, &pn_s, phi_c, phi_s);
        const SV_LANE rho_st = rho * tn_s;
        SV_LANE nx = rho_st * pn_c + cx;
        SV_LANE ny = rho_st * pn_s + cy;
        const SV_LANE nz = rho * tn_c + cz;
        if (s->radiolaria) {
            const SV_LANE cap = SV_SPLAT(s->radiolaria_factor);
            ny = SvSelect(ny > cap, cap, ny);
        }
        const SV_LANE new_r = SvLaneSqrt(nx * nx + ny * ny + nz * nz);

        dr = SvSelect(active, new_dr, dr);
        theta_dc = SvSelect(active, SvClampLane(dz / safe_dr, -one, one), theta_dc);
        theta_ds = SvSelect(active, SvMinLane(dxy / safe_dr, one), theta_ds);
        phi_dc = SvSelect(active, new_phi_dc, phi_dc);
        phi_ds = SvSelect(active, new_phi_ds, phi_ds);
        zx = SvSelect(active, nx, zx);
        zy = SvSelect(active, ny, zy);
        zz = SvSelect(active, nz, zz);
        r = SvSelect(active, new_r, r);
        *trap = SvSelect(active, SvMinLane(*trap, r), *trap);
        active = active & ((r > SV_SPLAT(s->bailout)) == 0);
        if (!SvAnyLane(active)) break;

        // The next round's angles: the azimuth and the polar angle from the z axis, plus phases.
        rxy = SvLaneSqrt(zx * zx + zy * zy);
        PlanePair(zx, zy, rxy, &phi_c, &phi_s);
        if (phased_x) TurnPair(&phi_c, &phi_s, phase_xc, phase_xs);
        const SV_LANE safe_r = SvMaxLane(r, tiny);
        theta_c = SvClampLane(zz / safe_r, -one, one);
        theta_s = SvMinLane(rxy / safe_r, one);
        if (phased_y) TurnPair(&theta_c, &theta_s, phase_yc, phase_ys);
    }
    return SV_SPLAT(0.5f) * SvLaneLog(r) * r / SvMaxLane(dr, tiny);
}
