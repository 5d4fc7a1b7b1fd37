// The host's requests on "Color Ramp" values: create, dispose, copy, flatten, unflatten,
// interpolate, compare, print and scan.
#ifndef SPIROVAULT_RAMP_ARBITRARY_DATA_H
#define SPIROVAULT_RAMP_ARBITRARY_DATA_H

#include "host/pf_arbitrary_data.h"
#include "host/pf_in_out_data.h"

namespace spirovault {

// Runs the handler for extra->which_function; unknown selectors do nothing. A missing handle
// suite raises PF_Err_BAD_CALLBACK_PARAM.
PF_Err HandleArbitraryCallback(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                               PF_LayerDef* output, PF_ArbParamsExtra* extra);

}  // namespace spirovault

#endif
