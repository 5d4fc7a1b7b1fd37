// The printed form of a ramp: "S<i>:<pos>,<r>,<g>,<b>|" per stop in use.
#ifndef SPIROVAULT_RAMP_RAMP_TEXT_H
#define SPIROVAULT_RAMP_RAMP_TEXT_H

#include <cstddef>

#include "kernel/color_ramp.h"

namespace spirovault {

// Writes the text into buffer (size bytes, zero-terminated). A piece that would not fit with
// its terminator is skipped and later, shorter pieces still go in. size must be at least 1.
void PrintRampText(const ColorRamp* ramp, char* buffer, size_t size);

}  // namespace spirovault

#endif
