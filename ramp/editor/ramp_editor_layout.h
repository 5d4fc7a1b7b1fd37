// Where the ramp editor's parts lie inside the control's frame. Derived from the frame on every
// event: the host may resize the panel between events.
#ifndef SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_LAYOUT_H
#define SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_LAYOUT_H

#include "host/pf_geometry.h"

namespace spirovault {

// Integer rectangles are end-exclusive (right and bottom lie just outside).
struct RampEditorLayout {
    A_long left, top;
    A_long x0, x1, width;        // ends and width of the gradient bar and the marker strip
    A_long bar_top, bar_bottom;  // the gradient bar's rows
    A_long y0;                   // the marker strip's top row
    PF_Rect strip;
    PF_Rect randomize, reverse, reset;
};

enum class RampButton { kNone, kRandomize, kReverse, kReset };

inline constexpr A_long kRampEditorMargin = 10;
inline constexpr A_long kRampBarHeight = 22;
inline constexpr A_long kRampStripHeight = 16;
inline constexpr A_long kMarkerHalfWidth = 5;  // head base and body are 10 wide
inline constexpr A_long kMarkerHeadHeight = 5;
inline constexpr A_long kMarkerBodySize = 10;

RampEditorLayout MakeRampEditorLayout(const PF_Rect& frame);

bool Contains(const PF_Rect& rect, A_long x, A_long y);
bool InMarkerStrip(const RampEditorLayout& layout, A_long x, A_long y);
RampButton ButtonAt(const RampEditorLayout& layout, A_long x, A_long y);

// The marker centre column of a stop at this position.
A_long MarkerCentre(const RampEditorLayout& layout, float position);
// The ramp position under column x, within [0, 1]; 0.5 when the bar has no width.
float PositionFromX(const RampEditorLayout& layout, A_long x);

}  // namespace spirovault

#endif
