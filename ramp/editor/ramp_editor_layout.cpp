#include "ramp/editor/ramp_editor_layout.h"

#include <algorithm>
#include <cmath>

namespace spirovault {

namespace {

constexpr A_long kBarOffset = 2;  // rows between the frame's top and the bar
constexpr A_long kButtonRowOffset = 21;
constexpr A_long kButtonHeight = 18;
constexpr A_long kButtonWidth = 64;
constexpr A_long kButtonPitch = 68;  // width plus a 4-pixel gap

PF_Rect Button(A_long x0, A_long y0, int slot) {
    const A_long left = x0 + slot * kButtonPitch;
    const A_long top = y0 + kButtonRowOffset;
    return PF_Rect{left, top, left + kButtonWidth, top + kButtonHeight};
}

}  // namespace

RampEditorLayout MakeRampEditorLayout(const PF_Rect& frame) {
    RampEditorLayout layout{};
    layout.left = frame.left;
    layout.top = frame.top;
    layout.x0 = frame.left + kRampEditorMargin;
    layout.x1 = frame.right - kRampEditorMargin;
    layout.width = layout.x1 - layout.x0;
    layout.bar_top = frame.top + kBarOffset;
    layout.bar_bottom = layout.bar_top + kRampBarHeight;
    layout.y0 = layout.bar_bottom;
    layout.strip = PF_Rect{layout.x0, layout.y0, layout.x1, layout.y0 + kRampStripHeight};
    layout.randomize = Button(layout.x0, layout.y0, 0);
    layout.reverse = Button(layout.x0, layout.y0, 1);
    layout.reset = Button(layout.x0, layout.y0, 2);
    return layout;
}

bool Contains(const PF_Rect& rect, A_long x, A_long y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool InMarkerStrip(const RampEditorLayout& layout, A_long x, A_long y) {
    return Contains(layout.strip, x, y);
}

RampButton ButtonAt(const RampEditorLayout& layout, A_long x, A_long y) {
    if (Contains(layout.randomize, x, y)) return RampButton::kRandomize;
    if (Contains(layout.reverse, x, y)) return RampButton::kReverse;
    if (Contains(layout.reset, x, y)) return RampButton::kReset;
    return RampButton::kNone;
}

A_long MarkerCentre(const RampEditorLayout& layout, float position) {
    // Stored ramps are not checked: a position that is not a number, or lies far beyond the
    // ends, must still convert to a column without overflow.
    constexpr float kFarOff = 1.0e6f;
    float offset = static_cast<float>(layout.width) * position;
    if (std::isnan(offset)) offset = 0.0f;
    offset = std::clamp(offset, -kFarOff, kFarOff);
    return layout.x0 + static_cast<A_long>(offset);
}

float PositionFromX(const RampEditorLayout& layout, A_long x) {
    if (layout.width < 1) return 0.5f;
    const float t = static_cast<float>(x - layout.x0) / static_cast<float>(layout.width);
    return t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
}

}  // namespace spirovault
