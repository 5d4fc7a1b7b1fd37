#include "ramp/ramp_value_ops.h"

#include <cstring>

namespace spirovault {

void InterpolateRamps(const ColorRamp* left, const ColorRamp* right, float t, ColorRamp* out) {
    std::memcpy(out->magic, "QXWV", 4);
    out->stop_count = left->stop_count;
    const int n = UsableStopCount(left);
    for (int i = 0; i < n; ++i) {
        const RampStop& l = left->stops[i];
        const RampStop& s = right->stop_count > i ? right->stops[i] : l;
        RampStop& o = out->stops[i];
        o.position = (s.position - l.position) * t + l.position;
        o.red = (s.red - l.red) * t + l.red;
        o.green = (s.green - l.green) * t + l.green;
        o.blue = (s.blue - l.blue) * t + l.blue;
        o.alpha = 1.0f;
    }
}

PF_ArbCompareResult CompareRampBytes(const ColorRamp* a, const ColorRamp* b) {
    const int order = std::memcmp(a, b, kColorRampSize);
    if (order < 0) return PF_ArbCompare_LESS;
    if (order > 0) return PF_ArbCompare_MORE;
    return PF_ArbCompare_EQUAL;
}

}  // namespace spirovault
