// Routes a host command to its handler. Handlers may raise PfError; the caller converts it.
#ifndef SPIROVAULT_EFFECT_COMMAND_DISPATCH_H
#define SPIROVAULT_EFFECT_COMMAND_DISPATCH_H

#include "host/pf_commands.h"
#include "host/pf_in_out_data.h"

namespace spirovault {

// Commands without a handler, codes above the table and negative codes return PF_Err_NONE
// without touching anything.
PF_Err DispatchCommand(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                       PF_LayerDef* output, void* extra);

}  // namespace spirovault

#endif
