// Checked-out parameter copies into the frame's RenderSettings.
#ifndef SPIROVAULT_PARAMS_RESOLVE_PARAMS_H
#define SPIROVAULT_PARAMS_RESOLVE_PARAMS_H

#include "host/pf_in_out_data.h"
#include "kernel/settings.h"

namespace spirovault {

// params holds a copy for every parameter index (null entries read as zero). The ramp is read
// through "PF Handle Suite"; a ramp that cannot be locked leaves the ramp fields zero. A missing
// handle suite raises PF_Err_BAD_CALLBACK_PARAM.
void ResolveParams(RenderSettings* record, PF_InData* in_data, PF_ParamDef* params[]);

}  // namespace spirovault

#endif
