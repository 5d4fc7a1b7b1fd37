// One output pixel: supersamples and lens samples, march, shade or depth, average, highlight
// boost, compositing over the input, straight colour.
#ifndef SPIROVAULT_RENDER_PIXEL_SAMPLING_H
#define SPIROVAULT_RENDER_PIXEL_SAMPLING_H

#include "render/disk_sampling.h"
#include "render/estimate.h"
#include "render/portable.h"
#include "render/settings.h"
#include "render/shade_hit.h"
#include "render/view_frame.h"

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

// Screen position of supersample (i, j) of n x n in pixel (x, y), in units of half the output
// height, v growing upward: a pixel spans the same angle across and down.
SV_FN void SampleScreenPosition(const RenderSettings* s, int x, int y, int i, int j, int n,
                                float* u, float* v) {
    const float width = (float)s->output_width;
    const float height = (float)s->output_height;
    const float half_h = height / 2.0f;
    *u = ((float)x + ((float)i + 0.5f) / (float)n - 0.5f - width / 2.0f) / half_h;
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

// Renders pixel (x, y) with the frame's view values, derived once for every pixel of the frame.
// `in` may be null (no compositing). With exact_shortcuts set, work whose result is provably
// identical is done once: a pinhole traces one ray for all of its lens samples, and shades it
// once when shading draws no random numbers.
SV_FN void RenderPixelInView(const RenderSettings* s, const ViewFrame* view, int x, int y,
                             const PixelF* in, PixelF* out, int exact_shortcuts) {
    const ViewFrame vf = *view;
    const int n = vf.supersampling;
    const int lens_on = !s->depth_map && s->camera_dof && s->dof_samples > 0;
    const int n_dof = lens_on ? s->dof_samples : 1;
    const int lens_sampled = lens_on && s->lens_radius > 0.0f;
    const int shade_once = exact_shortcuts && !lens_sampled && !ShadingUsesSeeds(s);
    const int march_once = exact_shortcuts && !lens_sampled;
    const float width = (float)s->output_width;
    const float height = (float)s->output_height;
    const float inv_tan = 1.0f / s->tan_half_fov;
    const Vec3 right = LoadVec3(s->camera_right);
    const Vec3 up = LoadVec3(s->camera_up);
    const Vec3 forward = LoadVec3(s->camera_forward);
    const unsigned int ux = (unsigned int)x;
    const unsigned int uy = (unsigned int)y;

    Vec3 sum = MakeVec3(0.0f, 0.0f, 0.0f);
    int hits = 0;
    float defocus = 0.0f;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            float u;
            float v;
            SampleScreenPosition(s, x, y, i, j, n, &u, &v);
            const Vec3 d0 = AddVec3(AddVec3(ScaleVec3(right, u), ScaleVec3(up, v)),
                                    ScaleVec3(forward, inv_tan));
            const Vec3 d = NormalizeVec3(RotateVec3(&vf, d0));
            float t_focus = 0.0f;
            Vec3 focus_point = vf.eye;
            if (lens_sampled) {
                t_focus = s->focus_distance / SvMaxF(DotVec3(d, vf.forward), 0.001f);
                focus_point = AddVec3(vf.eye, ScaleVec3(d, t_focus));
            }
            const unsigned int lens_seed = LensSeed(ux, uy, (unsigned int)j, (unsigned int)i);
            MarchHit hit;
            int is_hit = 0;
            Vec3 shaded = MakeVec3(0.0f, 0.0f, 0.0f);
            for (int q = 0; q < n_dof; ++q) {
                if (q == 0 || !march_once) {
                    Vec3 origin = vf.eye;
                    Vec3 dir = d;
                    if (lens_sampled) {
                        float dx;
                        float dy;
                        SampleDisk(q, n_dof, lens_seed, &dx, &dy);
                        origin = AddVec3(origin, AddVec3(ScaleVec3(vf.right, s->lens_radius * dx),
                                                         ScaleVec3(vf.up, s->lens_radius * dy)));
                        dir = NormalizeVec3(SubVec3(focus_point, origin));
                    }
                    is_hit = MarchPrimary(origin, dir, s, vf.step_budget, vf.footprint, &hit);
                }
                if (!is_hit) continue;
                hits += 1;
                if (s->depth_map) {
                    const float value = DepthValue(hit.point, &vf, s);
                    sum = AddVec3(sum, MakeVec3(value, value, value));
                    continue;
                }
                if (lens_sampled) {
                    defocus += SvClampF(0.1f * SvMaxF(width, height) * s->lens_radius *
                                            sv_fabs(hit.t - t_focus) / SvMaxF(hit.t, 0.001f),
                                        0.0f, 1.0f);
                }
                if (q == 0 || !shade_once) {
                    shaded = ShadeHit(
                        &hit, &vf, s,
                        SampleSeeds(ux, uy, (unsigned int)j, (unsigned int)i, (unsigned int)q),
                        exact_shortcuts);
                }
                sum = AddVec3(sum, shaded);
            }
        }
    }

    const float count = (float)(n * n * n_dof);
    const float coverage = (float)hits / count;
    Vec3 colour = DivVec3(sum, count);
    if (!s->depth_map) colour = HighlightBoost(colour, defocus / count, s);

    float alpha;
    if (!s->depth_map) {
        if (s->composite_on_original && in != 0) {
            colour =
                AddVec3(colour, ScaleVec3(MakeVec3(in->red, in->green, in->blue), 1.0f - coverage));
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

// Renders pixel (x, y), deriving the view values for it alone.
SV_FN void RenderPixelSamples(const RenderSettings* s, int x, int y, const PixelF* in, PixelF* out,
                              int exact_shortcuts) {
    ViewFrame vf;
    DeriveViewFrame(s, &vf);
    RenderPixelInView(s, &vf, x, y, in, out, exact_shortcuts);
}

#endif
