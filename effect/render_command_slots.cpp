// Rendering is not built yet: the commands are accepted and do nothing.
#include "effect/render_command_slots.h"

PF_Err SmartPreRender(PF_InData*, PF_OutData*, PF_PreRenderExtra*) {
    return PF_Err_NONE;
}
PF_Err SmartRender(PF_InData*, PF_OutData*, PF_SmartRenderExtra*, bool) {
    return PF_Err_NONE;
}
