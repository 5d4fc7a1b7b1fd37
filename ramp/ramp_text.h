// The printed form of a ramp: "S<i>:<pos>,<r>,<g>,<b>|" per stop in use, and its reading back.
#ifndef SPIROVAULT_RAMP_RAMP_TEXT_H
#define SPIROVAULT_RAMP_RAMP_TEXT_H

#include <cstddef>

#include "kernel/color_ramp.h"

namespace spirovault {

// Writes the text into buffer (size bytes, zero-terminated). A piece that would not fit with
// its terminator is skipped and later, shorter pieces still go in. size must be at least 1.
// Values print with three decimals where those read back to the same float, and with as many
// digits as it takes otherwise, so that ScanRampText returns the ramp that was printed.
void PrintRampText(const ColorRamp* ramp, char* buffer, size_t size);

// Reads at most `length` bytes of printed text (a zero byte ends it sooner) into a ramp: the
// stops in index order from 0, alpha 1, the rest of the record as a new ramp has it. False, with
// `ramp` untouched, for text that is not one to sixteen pieces of that form.
bool ScanRampText(const char* text, size_t length, ColorRamp* ramp);

}  // namespace spirovault

#endif
