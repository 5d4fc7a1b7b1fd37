// Handlers of the render commands.
#ifndef SPIROVAULT_EFFECT_RENDER_COMMAND_SLOTS_H
#define SPIROVAULT_EFFECT_RENDER_COMMAND_SLOTS_H

#include "host/pf_gpu_framework.h"
#include "host/pf_in_out_data.h"
#include "host/pf_smart_render.h"

PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);
PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra,
                   bool use_gpu);

#endif
