// Handler of the GPU-device command whose work is not built yet.
#ifndef SPIROVAULT_EFFECT_RENDER_COMMAND_SLOTS_H
#define SPIROVAULT_EFFECT_RENDER_COMMAND_SLOTS_H

#include "host/pf_gpu_framework.h"
#include "host/pf_in_out_data.h"

PF_Err GPUDeviceSetup(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetupExtra* extra);

#endif
