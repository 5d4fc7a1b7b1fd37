// Placeholder until the GPU path lands: no GPU device is ever set up, so this is not reached.
#include "drivers/gpu_render.h"

PF_Err RenderGPU(PF_InData*, PF_OutData*, PrPixelFormat, PF_EffectWorld*, PF_EffectWorld*,
                 PF_SmartRenderExtra*, RenderSettings*) {
    return PF_Err_INTERNAL_STRUCT_DAMAGED;
}
