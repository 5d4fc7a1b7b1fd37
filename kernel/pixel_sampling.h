// One output pixel: supersamples and lens samples, march, shade or depth, average, highlight
// boost, compositing over the input, straight colour.
#ifndef SPIROVAULT_KERNEL_PIXEL_SAMPLING_H
#define SPIROVAULT_KERNEL_PIXEL_SAMPLING_H

#include "kernel/disk_sampling.h"
#include "kernel/march.h"
#include "kernel/portable.h"
#include "kernel/settings.h"
#include "kernel/shade_hit.h"
#include "kernel/view_frame.h"

// A pixel in float, channels in the host's order.
typedef struct PixelF {
    float alpha;
    float red;
    float green;
    float blue;
} PixelF;

SV_FN unsigned int LensSeed(unsigned int x, unsigned int y, unsigned int j, unsigned int i) {
    return (x * 51337u) ^ (y * 23371u) ^ (j * 47133u) ^ (i * 83313u);
}

SV_FN HitSeeds SampleSeeds(unsigned int x, unsigned int y, unsigned int j, unsigned int i,
                           unsigned int q) {
    HitSeeds seeds;
    seeds.occlusion = (j * 37133u) ^ (y * 13371u) ^ (x * 31337u) ^ (q * 57713u) ^ (i * 73313u);
    seeds.light_shadow = (x * 1973u) ^ (y * 9277u) ^ (j * 21547u) ^ (q * 34957u) ^ (i * 11369u);
    seeds.comp_light_shadow = (x * 7919u) ^ (j * 3571u) ^ (y * 6271u) ^ (q * 46337u) ^ (i * 4391u);
    seeds.environment =
        (j * 50331653u) ^ (y * 19349663u) ^ (x * 73856093u) ^ (i * 83492791u) ^ (q * 25165843u);
    return seeds;
}

// The frame pixel that pixel (x, y) of the world shows: the world may be a part of the frame,
// or one field of it.
SV_FN int FrameColumn(const RenderSettings* s, int x) {
    return s->origin_x + x;
}
SV_FN int FrameRow(const RenderSettings* s, const ViewFrame* vf, int y) {
    return s->origin_y + vf->row_step * y;
}

// Screen position of supersample (i, j) of n x n in frame pixel (x, y), in units of half the
// frame's height, v growing upward: a pixel spans the angle its aspect shows across and down.
SV_FN void SampleScreenPosition(const RenderSettings* s, const ViewFrame* vf, int x, int y, int i,
                                int j, int n, float* u, float* v) {
    const float width = (float)s->output_width;
    const float height = (float)s->output_height;
    const float half_h = height / 2.0f;
    *u = (((float)x + ((float)i + 0.5f) / (float)n - 0.5f - width / 2.0f) * vf->pixel_aspect) /
         half_h;
    *v = -((float)y + ((float)j + 0.5f) / (float)n - 0.5f - height / 2.0f) / half_h;
}

// Depth-map value of a hit: 1 at or before the start distance, 0 at or beyond the end.
SV_FN float DepthValue(Vec3 hit_point, const ViewFrame* vf, const RenderSettings* s) {
    const float z = DotVec3(SubVec3(hit_point, vf->eye), vf->forward);
    const float span = s->depth_end - s->depth_start;
    const float f = sv_fabs(span) > 1e-6f ? (z - s->depth_start) / span : 0.0f;
    return 1.0f - SvClampF(f, 0.0f, 1.0f);
}

// Bright defocused areas bloom the way iris highlights do.
SV_FN Vec3 HighlightBoost(Vec3 colour, float defocus, const RenderSettings* s) {
    const float y = Luminance(colour);
    const float g = defocus * s->highlight_gain;
    if (!(y > s->highlight_threshold && g > 0.0f)) return colour;
    const float e = y - s->highlight_threshold;
    const float w = e / (e + 1.0f);
    Vec3 boost = ScaleVec3(ScaleVec3(DivVec3(colour, SvMaxF(y, 0.0001f)), w), g);
    const float sat = defocus * s->highlight_saturation;
    if (sat > 0.0f) {
        const float grey = w * g;
        const Vec3 grey3 = MakeVec3(grey, grey, grey);
        boost = AddVec3(ScaleVec3(SubVec3(boost, grey3), 1.0f + sat), grey3);
    }
    return AddVec3(colour, boost);
}

// How a frame's pixels are sampled: the same for every pixel of the frame.
typedef struct PixelPlan {
    int n;      // supersamples per side
    int n_dof;  // lens samples per supersample
    int lens_sampled;
    int march_once;  // a pinhole traces one ray for all of its lens samples...
    int shade_once;  // ...and shades it once when shading draws no random numbers
    int exact_shortcuts;
} PixelPlan;

// With exact_shortcuts set, work whose result is provably identical is done once.
SV_FN PixelPlan MakePixelPlan(const RenderSettings* s, const ViewFrame* vf, int exact_shortcuts) {
    PixelPlan plan;
    plan.n = vf->supersampling;
    const int lens_on = !s->depth_map && s->camera_dof && s->dof_samples > 0;
    plan.n_dof = lens_on ? s->dof_samples : 1;
    plan.lens_sampled = lens_on && s->lens_radius > 0.0f;
    plan.march_once = exact_shortcuts && !plan.lens_sampled;
    plan.shade_once = exact_shortcuts && !plan.lens_sampled && !ShadingUsesSeeds(s);
    plan.exact_shortcuts = exact_shortcuts;
    return plan;
}

// The camera ray of supersample (i, j), lens sample q, of frame pixel (x, y), and the distance
// along the centre ray to the focal plane (0 without a lens).
SV_FN void SampleCameraRay(const RenderSettings* s, const ViewFrame* vf, const PixelPlan* plan,
                           int x, int y, int i, int j, int q, Vec3* origin, Vec3* dir,
                           float* t_focus) {
    float u;
    float v;
    SampleScreenPosition(s, vf, x, y, i, j, plan->n, &u, &v);
    const Vec3 d0 = AddVec3(
        AddVec3(ScaleVec3(LoadVec3(s->camera_right), u), ScaleVec3(LoadVec3(s->camera_up), v)),
        ScaleVec3(LoadVec3(s->camera_forward), 1.0f / s->tan_half_fov));
    const Vec3 d = NormalizeVec3(RotateVec3(vf, d0));
    *origin = vf->eye;
    *dir = d;
    *t_focus = 0.0f;
    if (!plan->lens_sampled) return;
    *t_focus = s->focus_distance / SvMaxF(DotVec3(d, vf->forward), 0.001f);
    const Vec3 focus_point = AddVec3(vf->eye, ScaleVec3(d, *t_focus));
    const unsigned int lens_seed =
        LensSeed((unsigned int)x, (unsigned int)y, (unsigned int)j, (unsigned int)i);
    float dx;
    float dy;
    SampleDisk(q, plan->n_dof, lens_seed, &dx, &dy);
    *origin = AddVec3(*origin, AddVec3(ScaleVec3(vf->right, s->lens_radius * dx),
                                       ScaleVec3(vf->up, s->lens_radius * dy)));
    *dir = NormalizeVec3(SubVec3(focus_point, *origin));
}

// What a pixel's samples add up to.
typedef struct PixelTotals {
    Vec3 sum;
    int hits;
    float defocus;
    Vec3 shaded;  // the last shaded colour, reused by lens samples that shade once
} PixelTotals;

SV_FN void ClearPixelTotals(PixelTotals* totals) {
    totals->sum = MakeVec3(0.0f, 0.0f, 0.0f);
    totals->hits = 0;
    totals->defocus = 0.0f;
    totals->shaded = MakeVec3(0.0f, 0.0f, 0.0f);
}

// Whether sample q of a hit is shaded anew (else it reuses the last shaded colour).
SV_FN int SampleShadesHit(const RenderSettings* s, const PixelPlan* plan, int q) {
    return !s->depth_map && (q == 0 || !plan->shade_once);
}

// Adds sample (i, j, q) of frame pixel (x, y) whose march gave is_hit and *hit. `pre`, when not
// null, holds what was found for the hit beforehand; null: everything is found here.
SV_FN void AddPixelSample(const RenderSettings* s, const ViewFrame* vf, const PixelPlan* plan,
                          int x, int y, int i, int j, int q, int is_hit, const MarchHit* hit,
                          const HitPrepass* pre, float t_focus, PixelTotals* totals) {
    if (!is_hit) return;
    totals->hits += 1;
    if (s->depth_map) {
        const float value = DepthValue(hit->point, vf, s);
        totals->sum = AddVec3(totals->sum, MakeVec3(value, value, value));
        return;
    }
    if (plan->lens_sampled) {
        const float height = (float)s->output_height;
        totals->defocus += SvClampF(0.1f * SvMaxF(FrameShownWidth(s, vf), height) * s->lens_radius *
                                        sv_fabs(hit->t - t_focus) / SvMaxF(hit->t, 0.001f),
                                    0.0f, 1.0f);
    }
    if (SampleShadesHit(s, plan, q)) {
        const HitSeeds seeds = SampleSeeds((unsigned int)x, (unsigned int)y, (unsigned int)j,
                                           (unsigned int)i, (unsigned int)q);
        totals->shaded = pre != 0 ? ShadeHitPrepared(hit, pre, vf, s, seeds, plan->exact_shortcuts)
                                  : ShadeHit(hit, vf, s, seeds, plan->exact_shortcuts);
    }
    totals->sum = AddVec3(totals->sum, totals->shaded);
}

// Averages the samples, boosts highlights, composites over the input (`in`, straight colour, may
// be null) and straightens the colour.
SV_FN void FinishPixel(const RenderSettings* s, const PixelPlan* plan, const PixelTotals* totals,
                       const PixelF* in, PixelF* out) {
    const int n = plan->n;
    const int n_dof = plan->n_dof;
    const Vec3 sum = totals->sum;
    const int hits = totals->hits;
    const float defocus = totals->defocus;
    const float count = (float)(n * n * n_dof);
    const float coverage = (float)hits / count;
    Vec3 colour = DivVec3(sum, count);
    if (!s->depth_map) colour = HighlightBoost(colour, defocus / count, s);

    float alpha;
    if (!s->depth_map) {
        if (s->composite_on_original && in != 0) {
            // The input is straight colour, as the host's worlds hold it: premultiplied here,
            // once, to go under the fractal.
            const Vec3 under = ScaleVec3(MakeVec3(in->red, in->green, in->blue), in->alpha);
            colour = AddVec3(colour, ScaleVec3(under, 1.0f - coverage));
            alpha = (1.0f - coverage) * in->alpha + coverage;
        } else {
            alpha = coverage;
        }
    } else {
        alpha = s->composite_on_original ? 1.0f : coverage;
    }
    if (alpha > 1e-6f) {
        colour = DivVec3(colour, alpha);
    } else {
        colour = MakeVec3(0.0f, 0.0f, 0.0f);
    }
    out->alpha = alpha;
    out->red = colour.x;
    out->green = colour.y;
    out->blue = colour.z;
}

// Renders pixel (x, y) of the world with the frame's view values, derived once for every pixel
// of the frame. `in` may be null (no compositing).
SV_FN void RenderPixelInView(const RenderSettings* s, const ViewFrame* vf, int world_x, int world_y,
                             const PixelF* in, PixelF* out, int exact_shortcuts) {
    const int x = FrameColumn(s, world_x);
    const int y = FrameRow(s, vf, world_y);
    const PixelPlan plan = MakePixelPlan(s, vf, exact_shortcuts);
    PixelTotals totals;
    ClearPixelTotals(&totals);
    for (int j = 0; j < plan.n; ++j) {
        for (int i = 0; i < plan.n; ++i) {
            MarchHit hit;
            int is_hit = 0;
            float t_focus = 0.0f;
            for (int q = 0; q < plan.n_dof; ++q) {
                if (q == 0 || !plan.march_once) {
                    Vec3 origin;
                    Vec3 dir;
                    SampleCameraRay(s, vf, &plan, x, y, i, j, q, &origin, &dir, &t_focus);
                    is_hit = MarchPrimary(origin, dir, s, vf->step_budget, vf->footprint, &hit);
                }
                AddPixelSample(s, vf, &plan, x, y, i, j, q, is_hit, &hit, 0, t_focus, &totals);
            }
        }
    }
    FinishPixel(s, &plan, &totals, in, out);
}

// Renders pixel (x, y), deriving the view values for it alone.
SV_FN void RenderPixelSamples(const RenderSettings* s, int x, int y, const PixelF* in, PixelF* out,
                              int exact_shortcuts) {
    ViewFrame vf;
    DeriveViewFrame(s, &vf);
    RenderPixelInView(s, &vf, x, y, in, out, exact_shortcuts);
}

#endif
