// The CPU render: the host's iterate suite of the output's depth runs the matching pixel
// function over the whole output.
#ifndef SPIROVAULT_DEVICE_CPU_CPU_ITERATE_H
#define SPIROVAULT_DEVICE_CPU_CPU_ITERATE_H

#include "host/pf_effect_world.h"
#include "host/pf_in_out_data.h"
#include "kernel/settings.h"

namespace spirovault {

// The record must be complete: the pixel functions read it from several threads at once.
// Returns PF_Err_BAD_CALLBACK_PARAM, rendering nothing, for a format other than 8-bit, 16-bit
// or float ARGB; a missing suite raises A_Err_MISSING_SUITE. The host is asked every few
// milliseconds whether the user has cancelled (and told the rows done); a cancelled frame
// returns the host's cancel.
PF_Err IterateOutput(PF_InData* in_data, PF_OutData* out_data, PF_PixelFormat format,
                     PF_EffectWorld* input, PF_EffectWorld* output, RenderSettings* record);

}  // namespace spirovault

#endif
