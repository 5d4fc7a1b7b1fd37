#include "hostsim/gpu_devices/gpu_device_commands.h"

#include <cstring>

#include "host/pf_gpu_framework.h"

namespace hostsim {

GpuSetupResult SetUpGpuDevice(EffectCommands& host, A_u_long device_index) {
    GpuDevices& devices = host.services().gpu();
    GpuSetupResult result;
    GpuDevice* device = devices.device(device_index);
    if (device == nullptr) {
        result.command.err = PF_Err_BAD_CALLBACK_PARAM;
        return result;
    }
    device->MakeCurrent();
    PF_GPUDeviceSetupInput input{device->framework(), device_index};
    PF_GPUDeviceSetupOutput output{nullptr};
    PF_GPUDeviceSetupExtra extra{&input, &output};
    result.command = host.Send(PF_Cmd_GPU_DEVICE_SETUP, &extra, PF_OutData{});
    result.gpu_data = output.gpu_data;
    result.accepted =
        (result.command.out_data.out_flags2 & PF_OutFlag2_SUPPORTS_GPU_RENDER_F32) != 0;
    // From here the host owns what the effect handed over, until setdown.
    HandleHeap& handles = host.services().handles();
    if (output.gpu_data != nullptr && handles.IsLive(static_cast<PF_Handle>(output.gpu_data))) {
        handles.MarkHostOwned(static_cast<PF_Handle>(output.gpu_data));
        result.command.audit = host.Audit();
    }
    GpuDevices::Setup setup;
    setup.done = true;
    setup.accepted = result.accepted && result.command.err == PF_Err_NONE;
    setup.gpu_data = output.gpu_data;
    devices.set_setup(device_index, setup);
    return result;
}

CommandResult SetDownGpuDevice(EffectCommands& host, A_u_long device_index) {
    GpuDevices& devices = host.services().gpu();
    GpuDevice* device = devices.device(device_index);
    if (device == nullptr) {
        CommandResult result;
        result.err = PF_Err_BAD_CALLBACK_PARAM;
        return result;
    }
    device->MakeCurrent();
    PF_GPUDeviceSetdownInput input{devices.setup(device_index).gpu_data, device->framework(),
                                   device_index};
    PF_GPUDeviceSetdownExtra extra{&input};
    const CommandResult result = host.Send(PF_Cmd_GPU_DEVICE_SETDOWN, &extra, PF_OutData{});
    devices.set_setup(device_index, GpuDevices::Setup{});
    return result;
}

GpuTarget PrepareGpuDevice(EffectCommands& host, PF_GPU_Framework framework) {
    GpuDevices& devices = host.services().gpu();
    GpuTarget target;
    target.device_index = devices.Find(framework);
    if (target.device_index < 0) target.device_index = devices.Open(framework, &target.why_not);
    if (target.device_index < 0) return target;
    const auto index = static_cast<A_u_long>(target.device_index);
    if (!devices.setup(index).done) {
        const GpuSetupResult setup = SetUpGpuDevice(host, index);
        target.setup_err = setup.command.err;
        target.setup_msg = ReturnMessage(setup.command.out_data);
    }
    target.accepted = devices.setup(index).accepted;
    return target;
}

void SetDownGpuDevices(EffectCommands& host) {
    GpuDevices& devices = host.services().gpu();
    for (size_t i = 0; i < devices.count(); ++i) {
        if (devices.setup(static_cast<A_u_long>(i)).done) {
            SetDownGpuDevice(host, static_cast<A_u_long>(i));
        }
    }
}

}  // namespace hostsim
