// PF_Cmd_SMART_PRE_RENDER: builds the frame's RenderSettings and hands it to the host as the
// frame's pre-render data, and declares what the effect needs and produces.
#ifndef SPIROVAULT_FRAME_SMART_PRE_RENDER_H
#define SPIROVAULT_FRAME_SMART_PRE_RENDER_H

#include "host/pf_in_out_data.h"
#include "host/pf_smart_render.h"

namespace spirovault {

// The input layer is checked out under this id for the smart render, the "HDRI Layer" (whole)
// under the other.
inline constexpr A_long kInputCheckoutId = 0;
inline constexpr A_long kHdriCheckoutId = 1;

PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);

// Merges a result rectangle the host reports for a checked-out layer into the effect's own: an
// empty destination (left >= right or top >= bottom) becomes the source; otherwise a non-empty
// source widens it to the bounding box of both.
void UnionRect(const PF_LRect& source, PF_LRect* destination);

}  // namespace spirovault

#endif
