// In-place edits of a colour ramp, as the ramp editor makes them. Stored ramps can carry any
// stop count: every operation bounds it before indexing a stop.
#ifndef SPIROVAULT_RAMP_RAMP_EDIT_H
#define SPIROVAULT_RAMP_RAMP_EDIT_H

#include "kernel/color_ramp.h"

namespace spirovault {

// Back to one white stop at 0; slots 1 to 15 keep their bytes.
void ResetRamp(ColorRamp* ramp);
// Stable ascending sort of the stops in use by position.
void SortStops(ColorRamp* ramp);
// Inserts a stop at t with the ramp's colour there; returns its index, or -1 when full.
int AddStop(ColorRamp* ramp, float t);
// Removes stop `index` unless it is the last stop or out of range.
void RemoveStop(ColorRamp* ramp, int index);
// Mirrors every position (p -> 1 - p) and re-sorts.
void ReverseRamp(ColorRamp* ramp);
// New colours spread around the hue circle from a random start (the C library's rand).
void RandomizeRamp(ColorRamp* ramp);

}  // namespace spirovault

#endif
