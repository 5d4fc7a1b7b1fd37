// The colour ramp editor's event handlers, one per event type it answers.
#ifndef SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_EVENTS_H
#define SPIROVAULT_RAMP_EDITOR_RAMP_EDITOR_EVENTS_H

#include "host/pf_custom_ui.h"
#include "host/pf_in_out_data.h"

namespace spirovault {

PF_Err DoRampClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output, PF_EventExtra* event, PF_ParamIndex ramp_index);
PF_Err DoRampDrag(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                  PF_LayerDef* output, PF_EventExtra* event, PF_ParamIndex ramp_index);
PF_Err DrawRampEditor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output, PF_EventExtra* event, PF_ParamIndex ramp_index);
PF_Err AdjustRampCursor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                        PF_LayerDef* output, PF_EventExtra* event, PF_ParamIndex ramp_index);

}  // namespace spirovault

#endif
