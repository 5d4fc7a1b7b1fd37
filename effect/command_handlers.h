// The effect's answers to the host commands it handles itself.
#ifndef SPIROVAULT_EFFECT_COMMAND_HANDLERS_H
#define SPIROVAULT_EFFECT_COMMAND_HANDLERS_H

#include "host/pf_in_out_data.h"

namespace spirovault {

// Writes the About text into return_msg.
PF_Err About(PF_InData* in_data, PF_OutData* out_data);
// Version and out flags; under Premiere Pro also the one pixel format and check-outs in it,
// elsewhere the registration with the plug-in layer (the global data).
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[]);
// Disposes of the global data.
PF_Err GlobalSetdown(PF_InData* in_data, PF_OutData* out_data);
// Declares the sixty parameters and registers the ramp editor's UI.
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[]);

}  // namespace spirovault

#endif
