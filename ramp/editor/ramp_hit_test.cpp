#include "ramp/editor/ramp_hit_test.h"

#include <cstdlib>

namespace spirovault {

namespace {

bool InHead(A_long sx, A_long y0, A_long x, A_long y) {
    if (y > y0 + kMarkerHeadHeight) return false;
    // The head widens from nothing at the apex to its full half-width at its base.
    const float rows = static_cast<float>(y - y0);
    const auto half_width = static_cast<A_long>(rows / static_cast<float>(kMarkerHeadHeight) *
                                                static_cast<float>(kMarkerHalfWidth));
    return std::labs(x - sx) <= half_width;
}

bool InBody(A_long sx, A_long y0, A_long x, A_long y) {
    return x >= sx - kMarkerHalfWidth && x <= sx + kMarkerHalfWidth &&
           y >= y0 + kMarkerHeadHeight && y <= y0 + kMarkerHeadHeight + kMarkerBodySize;
}

}  // namespace

int HitTestStop(const RampEditorLayout& layout, const ColorRamp* ramp, A_long x, A_long y) {
    const int n = UsableStopCount(ramp);
    for (int i = 0; i < n; ++i) {
        const A_long sx = MarkerCentre(layout, ramp->stops[i].position);
        if (InHead(sx, layout.y0, x, y) || InBody(sx, layout.y0, x, y)) return i;
    }
    return -1;
}

}  // namespace spirovault
