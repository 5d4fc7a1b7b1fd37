// PF_Cmd_GPU_DEVICE_SETUP and PF_Cmd_GPU_DEVICE_SETDOWN as the host sends them: once per device
// before its first GPU render and when the device is torn down. The host keeps the gpu_data
// the effect returns (a handle the host owns from then on) and hands it back at setdown.
#ifndef SPIROVAULT_STANDALONE_GPU_GPU_DEVICE_COMMANDS_H
#define SPIROVAULT_STANDALONE_GPU_GPU_DEVICE_COMMANDS_H

#include "standalone/effect_host.h"

struct GpuSetupResult {
    CommandResult command;
    void* gpu_data = nullptr;
    // out_flags2 asks for GPU rendering: the device is accepted.
    bool accepted = false;
};

GpuSetupResult SetUpGpuDevice(EffectHost& host, A_u_long device_index);
CommandResult SetDownGpuDevice(EffectHost& host, A_u_long device_index);

#endif
