// Where the output world lies in the picture the host shows: the host may ask for a part of the
// layer, at a reduced resolution with unequal factors, with non-square pixels, or (Premiere Pro)
// one field of an interlaced frame. Every pixel is rendered from its place in the whole frame, so
// a part is the same pixels as that part of the whole.
#ifndef SPIROVAULT_FRAME_FRAME_LAYOUT_H
#define SPIROVAULT_FRAME_FRAME_LAYOUT_H

#include "host/pf_effect_world.h"
#include "host/pf_in_out_data.h"
#include "kernel/settings.h"

namespace spirovault {

// The whole layer at the frame's resolution, in layer pixels; empty when the host gave no size.
PF_LRect LayerRectAtResolution(const PF_InData& in_data);

// Stores the frame's size, the world's place in it and the pixels' aspect in the record.
// `interlaced`: the world holds the lines of in_data's field only (Premiere Pro's half-height
// fields); otherwise the field is not looked at.
void StoreFrameLayout(const PF_InData& in_data, const PF_EffectWorld& world, bool interlaced,
                      RenderSettings* record);

}  // namespace spirovault

#endif
