// PF_Cmd_GPU_DEVICE_SETUP and SETDOWN: which GPU devices the effect renders on, and the handle it
// hands to the host for each device it accepts (released at setdown): for an OpenCL device the
// kernel it builds, for a CUDA device the slot of the kernel's module, loaded on the first frame.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_DEVICE_SETUP_H
#define SPIROVAULT_DEVICE_GPU_GPU_DEVICE_SETUP_H

#include "host/pf_gpu_framework.h"
#include "host/pf_in_out_data.h"
#include "platform/cuda_driver.h"
#include "platform/opencl_runtime.h"

namespace spirovault {

PF_Err GPUDeviceSetup(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetupExtra* extra);
// PF_Cmd_GPU_DEVICE_SETDOWN: releases what setup kept for the device.
PF_Err GPUDeviceSetdown(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetdownExtra* extra);

// The GPU runtimes a device setup can use: the OpenCL runtime when it could be loaded, and the
// CUDA driver when it could be loaded and the library carries the CUDA kernel. A device of a
// framework without its runtime is declined, and the host renders its frames on the CPU.
struct GpuRuntimes {
    const OpenClApi* opencl = nullptr;
    const CudaDriverApi* cuda = nullptr;
};

// The runtimes of this process and build.
GpuRuntimes AvailableGpuRuntimes();

PF_Err SetUpGpuDevice(const GpuRuntimes& runtimes, PF_InData* in_data, PF_OutData* out_data,
                      PF_GPUDeviceSetupExtra* extra);

}  // namespace spirovault

#endif
