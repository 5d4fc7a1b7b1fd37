// Values derived once from the record for a pixel: the fractal rotation, the eye, view axes and
// parameter light turned into the fractal's frame, the footprint and the step budget.
#ifndef SPIROVAULT_KERNEL_VIEW_FRAME_H
#define SPIROVAULT_KERNEL_VIEW_FRAME_H

#include "kernel/portable.h"
#include "kernel/settings.h"

typedef struct ViewFrame {
    Vec3 rotation[3];    // rows of M
    Vec3 eye;            // E
    Vec3 right;          // R'
    Vec3 up;             // U'
    Vec3 forward;        // F'
    Vec3 light;          // L
    Vec3 light_rgb;      // light_color * light_intensity
    float footprint;     // k
    int step_budget;     // S
    int supersampling;   // n
    int row_step;        // frame rows from one world row to the next
    float pixel_aspect;  // horizontal stretch of a pixel
} ViewFrame;

SV_FN Vec3 RotateVec3(const ViewFrame* vf, Vec3 v) {
    return MakeVec3(DotVec3(vf->rotation[0], v), DotVec3(vf->rotation[1], v),
                    DotVec3(vf->rotation[2], v));
}

// The frame's width in units of a pixel's height, as it is shown.
SV_FN float FrameShownWidth(const RenderSettings* s, const ViewFrame* vf) {
    return (float)s->output_width * vf->pixel_aspect;
}

SV_FN void DeriveViewFrame(const RenderSettings* s, ViewFrame* vf) {
    // "Rotation X" turns about y, "Rotation Y" about z, "Rotation Z" about x; all negated.
    const float a = -s->rotation_x * SV_DEG_TO_RAD;
    const float b = -s->rotation_y * SV_DEG_TO_RAD;
    const float c = -s->rotation_z * SV_DEG_TO_RAD;
    const float ca = sv_cos(a), sa = sv_sin(a);
    const float cb = sv_cos(b), sb = sv_sin(b);
    const float cc = sv_cos(c), sc = sv_sin(c);
    // Rx(c) * Ry(a), then times Rz(b).
    const float rxry[3][3] = {{ca, 0.0f, sa}, {sc * sa, cc, -sc * ca}, {-cc * sa, sc, cc * ca}};
    const float rz[3][3] = {{cb, -sb, 0.0f}, {sb, cb, 0.0f}, {0.0f, 0.0f, 1.0f}};
    for (int r = 0; r < 3; ++r) {
        float row[3];
        for (int col = 0; col < 3; ++col) {
            row[col] = rxry[r][0] * rz[0][col] + rxry[r][1] * rz[1][col] + rxry[r][2] * rz[2][col];
        }
        vf->rotation[r] = MakeVec3(row[0], row[1], row[2]);
    }
    vf->eye = RotateVec3(vf, LoadVec3(s->camera_position));
    vf->right = RotateVec3(vf, LoadVec3(s->camera_right));
    vf->up = RotateVec3(vf, LoadVec3(s->camera_up));
    vf->forward = RotateVec3(vf, LoadVec3(s->camera_forward));
    vf->light = RotateVec3(vf, LoadVec3(s->light_position));
    vf->light_rgb = ScaleVec3(LoadVec3(s->light_color), s->light_intensity);
    vf->row_step = SvMaxI(s->row_step, 1);
    vf->pixel_aspect = s->pixel_aspect > 0.0f ? s->pixel_aspect : 1.0f;
    vf->footprint = 1.0f / SvMaxF(FrameShownWidth(s, vf), (float)s->output_height);
    vf->step_budget = (int)((float)s->max_steps / s->epsilon_scale);
    vf->supersampling = SvMaxI(s->supersampling, 1);
}

#endif
