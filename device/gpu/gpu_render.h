// The GPU path of the smart render: uploads the frame's tables and runs the kernel on the
// host's GPU worlds.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_H

#include "host/pf_effect_world.h"
#include "host/pf_in_out_data.h"
#include "host/pf_smart_render.h"
#include "kernel/settings.h"

namespace spirovault {

// Called by the smart render after its preamble (check-outs, environment image, output format).
// Renders the output world in PF_PixelFormat_GPU_BGRA128 on the device the host chose; any other
// format gives 514. Stores the output size in the record. A frame the user cancels, before the
// launch or while it ran, returns the host's cancel.
PF_Err RenderGPU(PF_InData* in_data, PF_OutData* out_data, PrPixelFormat pixel_format,
                 PF_EffectWorld* input_world, PF_EffectWorld* output_world,
                 PF_SmartRenderExtra* extra, RenderSettings* record);

}  // namespace spirovault

#endif
