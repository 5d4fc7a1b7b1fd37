// PF_Cmd_GPU_DEVICE_SETUP and PF_Cmd_GPU_DEVICE_SETDOWN as the host sends them: once per device
// before its first GPU render and when the device is torn down. The host keeps the gpu_data
// the effect returns (a handle the host owns from then on) and hands it back at setdown.
#ifndef SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICE_COMMANDS_H
#define SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICE_COMMANDS_H

#include <string>

#include "hostsim/effect_commands.h"

namespace hostsim {

struct GpuSetupResult {
    CommandResult command;
    void* gpu_data = nullptr;
    // out_flags2 asks for GPU rendering: the device is accepted.
    bool accepted = false;
};

GpuSetupResult SetUpGpuDevice(EffectCommands& host, A_u_long device_index);
CommandResult SetDownGpuDevice(EffectCommands& host, A_u_long device_index);

// The device GPU frames of a framework render on: the host's first device of that framework,
// opened and set up on first use.
struct GpuTarget {
    int device_index = -1;  // -1: the machine has no such device (why_not says why)
    std::string why_not;
    PF_Err setup_err = PF_Err_NONE;  // the setup command's result
    std::string setup_msg;           // and its return_msg
    bool accepted = false;           // the effect renders this device's frames on the GPU
};
GpuTarget PrepareGpuDevice(EffectCommands& host, PF_GPU_Framework framework);

// Sets down every device that was set up, as the host does when it shuts down.
void SetDownGpuDevices(EffectCommands& host);

}  // namespace hostsim

#endif
