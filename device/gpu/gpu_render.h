// The GPU path of the smart render: uploads the frame's tables and runs the kernel on the
// host's GPU worlds.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_H

#include <vector>

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

// A GPU world's pixels (PF_PixelFormat_GPU_BGRA128 rows, `rowbytes` apart) copied from the
// device of the render into host memory, `rowbytes` x `height` bytes; errors of the host's
// calls come back unchanged, a failed copy gives 512.
PF_Err ReadGpuWorld(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderExtra& extra,
                    PF_EffectWorld* world, std::vector<unsigned char>* pixels);

}  // namespace spirovault

#endif
