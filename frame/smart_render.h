// PF_Cmd_SMART_RENDER and PF_Cmd_SMART_RENDER_GPU: completes the pre-render record with the output
// size and the environment image, then renders on the CPU through the host's iterate suites or
// hands over to the GPU render.
#ifndef SPIROVAULT_FRAME_SMART_RENDER_H
#define SPIROVAULT_FRAME_SMART_RENDER_H

#include "host/pf_in_out_data.h"
#include "host/pf_smart_render.h"

namespace spirovault {

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra,
                   bool use_gpu);

}  // namespace spirovault

#endif
