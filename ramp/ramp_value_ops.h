// Keyframe interpolation and ordering of stored ramp values, as the host asks for them.
#ifndef SPIROVAULT_RAMP_RAMP_VALUE_OPS_H
#define SPIROVAULT_RAMP_RAMP_VALUE_OPS_H

#include "host/pf_arbitrary_data.h"
#include "kernel/color_ramp.h"

namespace spirovault {

// Stops matched by index: out takes left's count; stop i moves from left's stop i toward
// right's stop i (left's own when right has fewer), alpha 1. Slots past the usable count keep
// out's bytes.
void InterpolateRamps(const ColorRamp* left, const ColorRamp* right, float t, ColorRamp* out);

// All 328 bytes as unsigned bytes, unused slots included.
PF_ArbCompareResult CompareRampBytes(const ColorRamp* a, const ColorRamp* b);

}  // namespace spirovault

#endif
