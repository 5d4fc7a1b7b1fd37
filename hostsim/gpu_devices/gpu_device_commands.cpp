#include "hostsim/gpu_devices/gpu_device_commands.h"

#include <cstring>

#include "host/pf_gpu_framework.h"
#include "hostsim/record_canary.h"

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
    // Each record exactly its size, guarded behind: a write past one shows as an overrun.
    GuardedRecord<PF_GPUDeviceSetupInput> input(
        PF_GPUDeviceSetupInput{device->framework(), device_index});
    GuardedRecord<PF_GPUDeviceSetupOutput> guarded_output(PF_GPUDeviceSetupOutput{nullptr});
    GuardedRecord<PF_GPUDeviceSetupExtra> extra(
        PF_GPUDeviceSetupExtra{&input.record, &guarded_output.record});
    result.command = host.Send(PF_Cmd_GPU_DEVICE_SETUP, &extra.record, PF_OutData{});
    if (!input.intact() || !guarded_output.intact() || !extra.intact()) {
        result.command.audit.record_overruns = 1;
    }
    const PF_GPUDeviceSetupOutput output = guarded_output.record;
    result.gpu_data = output.gpu_data;
    result.accepted =
        (result.command.out_data.out_flags2 & PF_OutFlag2_SUPPORTS_GPU_RENDER_F32) != 0;
    // From here the host owns what the effect handed over, until setdown.
    HandleHeap& handles = host.services().handles();
    if (output.gpu_data != nullptr && handles.IsLive(static_cast<PF_Handle>(output.gpu_data))) {
        handles.MarkHostOwned(static_cast<PF_Handle>(output.gpu_data));
        const int overruns = result.command.audit.record_overruns;
        result.command.audit = host.Audit();
        result.command.audit.record_overruns = overruns;
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
    GuardedRecord<PF_GPUDeviceSetdownExtra> extra(PF_GPUDeviceSetdownExtra{&input});
    CommandResult result = host.Send(PF_Cmd_GPU_DEVICE_SETDOWN, &extra.record, PF_OutData{});
    if (!extra.intact()) result.audit.record_overruns = 1;
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
