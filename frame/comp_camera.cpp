#include "frame/comp_camera.h"

#include <algorithm>
#include <cmath>

namespace spirovault {

namespace {

constexpr float kHalfFortyFiveDegrees = 0.3926991f;

void SetAxes(RenderSettings* s) {
    const float right[3] = {1, 0, 0}, up[3] = {0, 0, 1}, forward[3] = {0, 1, 0};
    std::copy(right, right + 3, s->camera_right);
    std::copy(up, up + 3, s->camera_up);
    std::copy(forward, forward + 3, s->camera_forward);
}

}  // namespace

float CompScale(float comp_height) {
    return 7.0f * std::tan(kHalfFortyFiveDegrees) / std::max(comp_height, 1.0f);
}

void SetDefaultCompCamera(float comp_width, float comp_height, float comp_scale,
                          RenderSettings* s) {
    const float zoom = comp_width * 1.388889f;  // 50/36 of the width
    s->tan_half_fov = (comp_height * 0.5f) / zoom;
    s->camera_position[0] = 0;
    s->camera_position[1] = -zoom * comp_scale;
    s->camera_position[2] = 0;
    SetAxes(s);
    SetPinholeLens(zoom * comp_scale, s);
}

void UseFrameAsComposition(float frame_width, float frame_height, RenderSettings* s) {
    const float scale = CompScale(frame_height);
    s->depth_start *= scale;
    s->depth_end *= scale;
    SetDefaultCompCamera(frame_width, frame_height, scale, s);
    s->comp_light_count = 0;
}

void SetFallbackCamera(RenderSettings* s) {
    s->camera_position[0] = 0;
    s->camera_position[1] = -3.5f;
    s->camera_position[2] = 0;
    SetAxes(s);
    s->tan_half_fov = std::tan(kHalfFortyFiveDegrees);
}

void SetPinholeLens(float focus_distance, RenderSettings* s) {
    s->camera_dof = 0;
    s->lens_radius = 0;
    s->focus_distance = focus_distance;
    s->highlight_gain = 0;
    s->highlight_threshold = 1.0f;
    s->highlight_saturation = 0;
}

}  // namespace spirovault
