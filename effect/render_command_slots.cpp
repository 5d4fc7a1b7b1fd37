// GPU devices are not set up yet: the command is accepted and does nothing.
#include "effect/render_command_slots.h"

PF_Err GPUDeviceSetup(PF_InData*, PF_OutData*, PF_GPUDeviceSetupExtra*) {
    return PF_Err_NONE;
}
