// The editor is not built yet: its events are accepted and left unhandled.
#include "ramp/ramp_editor_events.h"

PF_Err DoRampClick(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra*,
                   PF_ParamIndex) {
    return PF_Err_NONE;
}
PF_Err DoRampDrag(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra*,
                  PF_ParamIndex) {
    return PF_Err_NONE;
}
PF_Err DrawRampEditor(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra*,
                      PF_ParamIndex) {
    return PF_Err_NONE;
}
PF_Err AdjustRampCursor(PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, PF_EventExtra*,
                        PF_ParamIndex) {
    return PF_Err_NONE;
}
