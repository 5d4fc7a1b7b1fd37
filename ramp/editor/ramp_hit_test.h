// Which stop marker lies under a point of the marker strip.
#ifndef SPIROVAULT_RAMP_EDITOR_RAMP_HIT_TEST_H
#define SPIROVAULT_RAMP_EDITOR_RAMP_HIT_TEST_H

#include "kernel/color_ramp.h"
#include "ramp/editor/ramp_editor_layout.h"

namespace spirovault {

// The first stop, in index order, whose head or body contains (x, y); -1 for none. The point
// is expected inside the marker strip.
int HitTestStop(const RampEditorLayout& layout, const ColorRamp* ramp, A_long x, A_long y);

}  // namespace spirovault

#endif
