// Greys out the parameters of switched-off features.
#ifndef SPIROVAULT_EFFECT_PARAM_UI_STATE_H
#define SPIROVAULT_EFFECT_PARAM_UI_STATE_H

#include "host/pf_in_out_data.h"
#include "host/suite_handler.h"

namespace spirovault {

// Sends the enabled state of all six dependent parameters, every time.
void UpdateDependentParamsUI(PF_InData* in_data, PF_ParamDef* params[]);

// Hands the host a copy of params[index] with PF_PUI_DISABLED set or cleared; the host forbids
// changing its own entry.
void SetParamEnabled(SuiteHandler& suites, PF_InData* in_data, PF_ParamDef* params[],
                     PF_ParamIndex index, bool enabled);

}  // namespace spirovault

#endif
