#include "standalone/gpu/gpu_device_commands.h"

#include "host/pf_gpu_framework.h"

GpuSetupResult SetUpGpuDevice(EffectHost& host, A_u_long device_index) {
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
    result.command = host.Send(PF_Cmd_GPU_DEVICE_SETUP, &extra);
    result.gpu_data = output.gpu_data;
    result.accepted =
        (result.command.out_data.out_flags2 & PF_OutFlag2_SUPPORTS_GPU_RENDER_F32) != 0;
    // From here the host owns what the effect handed over, until setdown.
    if (output.gpu_data != nullptr &&
        host.services().handles().IsLive(static_cast<PF_Handle>(output.gpu_data))) {
        host.services().handles().MarkHostOwned(static_cast<PF_Handle>(output.gpu_data));
        result.command.audit = host.Audit();
    }
    devices.set_gpu_data(device_index, output.gpu_data);
    return result;
}

CommandResult SetDownGpuDevice(EffectHost& host, A_u_long device_index) {
    GpuDevices& devices = host.services().gpu();
    GpuDevice* device = devices.device(device_index);
    if (device == nullptr) {
        CommandResult result;
        result.err = PF_Err_BAD_CALLBACK_PARAM;
        return result;
    }
    device->MakeCurrent();
    PF_GPUDeviceSetdownInput input{devices.gpu_data(device_index), device->framework(),
                                   device_index};
    PF_GPUDeviceSetdownExtra extra{&input};
    const CommandResult result = host.Send(PF_Cmd_GPU_DEVICE_SETDOWN, &extra);
    devices.set_gpu_data(device_index, nullptr);
    return result;
}
