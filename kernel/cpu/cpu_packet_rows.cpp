// One source compiled once per variant (kernel/cpu/CMakeLists.txt): SV_PACKET_WIDTH lanes (1: one
// pixel at a time), SV_TRIG_POWER_STEP for the trigonometric step, SV_UNIT_SUFFIX naming the
// entry points. The core's functions are made local to the unit, so that none built with one
// unit's instruction set is ever shared with another's; for the same reason this unit uses no
// library templates.
#include <math.h>

#define SV_FN static inline
#include "kernel/cpu/cpu_packet_rows.h"

#if SV_PACKET_WIDTH > 1
#include "kernel/cpu/lanes_vector.h"

#undef SV_LANE
#undef SV_MASK
#undef SV_SPLAT
#define SV_LANE SvLaneF
#define SV_MASK SvLaneM
#define SV_SPLAT(x) SvSplatLane(x)
#include "kernel/estimate_lanes.h"

static inline SvLaneF EstimateDistanceLanes(SvLaneF px, SvLaneF py, SvLaneF pz, SvLaneF* trap,
                                            const RenderSettings* s) {
    if (UsesIntegerPowerStep(s)) return EstimateIntegerPower(px, py, pz, trap, s);
    // Non-integer powers are rare: the scalar step, lane by lane.
    SvLaneF d;
    for (int i = 0; i < SV_PACKET_WIDTH; ++i) {
        float lane_trap = (*trap)[i];
        d[i] = EstimateDistance(MakeVec3(px[i], py[i], pz[i]), &lane_trap, s);
        (*trap)[i] = lane_trap;
    }
    return d;
}

#include "kernel/march_lanes.h"
#include "kernel/shadow_lanes.h"
#endif

namespace {

constexpr int kExactShortcuts = 1;

#if SV_PACKET_WIDTH > 1
// Estimates at `count` points, packed densely into full packets; the orbit traps are dropped.
void EstimatePacked(const RenderSettings* s, const Vec3* points, int count, float* distance) {
    for (int at = 0; at < count; at += SV_PACKET_WIDTH) {
        SvLaneF px, py, pz;
        for (int lane = 0; lane < SV_PACKET_WIDTH; ++lane) {
            const Vec3 p = points[at + lane < count ? at + lane : count - 1];
            px[lane] = p.x, py[lane] = p.y, pz[lane] = p.z;
        }
        SvLaneF trap = SvSplatLane(4.0f);
        const SvLaneF d = EstimateDistanceLanes(px, py, pz, &trap, s);
        for (int lane = 0; lane < SV_PACKET_WIDTH && at + lane < count; ++lane) {
            distance[at + lane] = d[lane];
        }
    }
}

// For the hits that shade: their surface normals, the six probes of each in one packed run,
// and the parameter light's shadow where it is a single ray, marched as one packet.
void PrepareHits(const RenderSettings* s, const ViewFrame* vf, const MarchHit* hits,
                 const int* shades, int count, HitPrepass* pre) {
    Vec3 points[6 * SV_PACKET_WIDTH];
    float distance[6 * SV_PACKET_WIDTH];
    int shading[SV_PACKET_WIDTH];
    int n = 0;
    for (int lane = 0; lane < count; ++lane) {
        if (shades[lane]) shading[n++] = lane;
    }
    if (n == 0) return;
    for (int k = 0; k < n; ++k) {
        const MarchHit* hit = &hits[shading[k]];
        NormalProbePoints(hit->point, NormalProbeStep(hit), &points[6 * k]);
    }
    EstimatePacked(s, points, 6 * n, distance);
    for (int k = 0; k < n; ++k) {
        HitPrepass* p = &pre[shading[k]];
        p->normal = NormalFromProbes(&distance[6 * k], NormalProbeStep(&hits[shading[k]]));
        p->light_shadow_known = 0;
        p->light_shadow = 1.0f;
    }
    if (!ShadowIsOneRay(s->light_size, s->shadow_intensity, kExactShortcuts)) return;
    SvLaneF px, py, pz, nx, ny, nz, eps;
    for (int lane = 0; lane < SV_PACKET_WIDTH; ++lane) {
        const int k = shading[lane < n ? lane : n - 1];
        const Vec3 p = hits[k].point;
        const Vec3 normal = pre[k].normal;
        px[lane] = p.x, py[lane] = p.y, pz[lane] = p.z;
        nx[lane] = normal.x, ny[lane] = normal.y, nz[lane] = normal.z;
        eps[lane] = hits[k].eps;
    }
    const SvLaneM visible = ShadowVisibleLanes(px, py, pz, nx, ny, nz, SvSplatLane(vf->light.x),
                                               SvSplatLane(vf->light.y), SvSplatLane(vf->light.z),
                                               eps, vf->footprint, s, vf->step_budget);
    for (int k = 0; k < n; ++k) {
        HitPrepass* p = &pre[shading[k]];
        p->light_shadow = ShadowFactorOfOneRay(visible[k] != 0, s->shadow_intensity);
        p->light_shadow_known = 1;
    }
}

// Up to SV_PACKET_WIDTH adjacent pixels of the world: their camera rays are marched together, then
// each pixel's hits are shaded and the pixel finished as RenderPixelInView does. Lanes past `count`
// repeat the last pixel and are dropped.
void RenderPacket(const CpuFrame* frame, int world_y, int world_x0, int count, const PixelF* in,
                  PixelF* out) {
    const RenderSettings* s = frame->settings;
    const ViewFrame* vf = &frame->view;
    const int y = FrameRow(s, vf, world_y);
    const int x0 = FrameColumn(s, world_x0);
    const PixelPlan plan = MakePixelPlan(s, vf, kExactShortcuts);
    PixelTotals totals[SV_PACKET_WIDTH];
    for (int lane = 0; lane < count; ++lane) ClearPixelTotals(&totals[lane]);
    for (int j = 0; j < plan.n; ++j) {
        for (int i = 0; i < plan.n; ++i) {
            MarchHit hits[SV_PACKET_WIDTH] = {};
            int is_hit[SV_PACKET_WIDTH] = {};
            float t_focus[SV_PACKET_WIDTH] = {};
            for (int q = 0; q < plan.n_dof; ++q) {
                if (q == 0 || !plan.march_once) {
                    SvLaneF ox, oy, oz, dx, dy, dz;
                    for (int lane = 0; lane < SV_PACKET_WIDTH; ++lane) {
                        const int x = x0 + (lane < count ? lane : count - 1);
                        Vec3 o;
                        Vec3 d;
                        SampleCameraRay(s, vf, &plan, x, y, i, j, q, &o, &d, &t_focus[lane]);
                        ox[lane] = o.x, oy[lane] = o.y, oz[lane] = o.z;
                        dx[lane] = d.x, dy[lane] = d.y, dz[lane] = d.z;
                    }
                    SvLaneF hx = ox, hy = oy, hz = oz;
                    SvLaneF ht = SvSplatLane(0.0f), htrap = SvSplatLane(4.0f);
                    SvLaneF heps = SvSplatLane(kMarchStartEpsilon);
                    const SvLaneM arrived =
                        MarchPrimaryLanes(ox, oy, oz, dx, dy, dz, s, vf->step_budget, vf->footprint,
                                          &hx, &hy, &hz, &ht, &htrap, &heps);
                    for (int lane = 0; lane < count; ++lane) {
                        is_hit[lane] = arrived[lane] != 0;
                        hits[lane].point = MakeVec3(hx[lane], hy[lane], hz[lane]);
                        hits[lane].t = ht[lane];
                        hits[lane].trap = htrap[lane];
                        hits[lane].eps = heps[lane];
                    }
                }
                HitPrepass pre[SV_PACKET_WIDTH];
                int shades[SV_PACKET_WIDTH];
                for (int lane = 0; lane < count; ++lane) {
                    shades[lane] = is_hit[lane] && SampleShadesHit(s, &plan, q);
                }
                PrepareHits(s, vf, hits, shades, count, pre);
                for (int lane = 0; lane < count; ++lane) {
                    AddPixelSample(s, vf, &plan, x0 + lane, y, i, j, q, is_hit[lane], &hits[lane],
                                   shades[lane] ? &pre[lane] : nullptr, t_focus[lane],
                                   &totals[lane]);
                }
            }
        }
    }
    for (int lane = 0; lane < count; ++lane) {
        FinishPixel(s, &plan, &totals[lane], in != nullptr ? &in[lane] : nullptr, &out[lane]);
    }
}
#endif

}  // namespace

#define SV_PASTE(a, b) a##b
#define SV_UNIT_ENTRY(name, suffix) SV_PASTE(name, suffix)

void SV_UNIT_ENTRY(EstimateSpan, SV_UNIT_SUFFIX)(const RenderSettings* s, const float* x,
                                                 const float* y, const float* z, int count,
                                                 float* distance, float* trap) {
#if SV_PACKET_WIDTH > 1
    for (int at = 0; at < count; at += SV_PACKET_WIDTH) {
        SvLaneF px, py, pz, lane_trap;
        for (int lane = 0; lane < SV_PACKET_WIDTH; ++lane) {
            const int i = at + lane < count ? at + lane : count - 1;
            px[lane] = x[i], py[lane] = y[i], pz[lane] = z[i], lane_trap[lane] = trap[i];
        }
        const SvLaneF d = EstimateDistanceLanes(px, py, pz, &lane_trap, s);
        for (int lane = 0; lane < SV_PACKET_WIDTH && at + lane < count; ++lane) {
            distance[at + lane] = d[lane];
            trap[at + lane] = lane_trap[lane];
        }
    }
#else
    for (int i = 0; i < count; ++i) {
        distance[i] = EstimateDistance(MakeVec3(x[i], y[i], z[i]), &trap[i], s);
    }
#endif
}

void SV_UNIT_ENTRY(RenderRowSpan, SV_UNIT_SUFFIX)(const CpuFrame* frame, int y, int x0, int count,
                                                  const PixelF* in, PixelF* out) {
#if SV_PACKET_WIDTH > 1
    for (int at = 0; at < count; at += SV_PACKET_WIDTH) {
        const int n = count - at < SV_PACKET_WIDTH ? count - at : SV_PACKET_WIDTH;
        RenderPacket(frame, y, x0 + at, n, in != nullptr ? in + at : nullptr, out + at);
    }
#else
    for (int at = 0; at < count; ++at) {
        RenderPixelInView(frame->settings, &frame->view, x0 + at, y,
                          in != nullptr ? &in[at] : nullptr, &out[at], kExactShortcuts);
    }
#endif
}
