// PF_Cmd_GPU_DEVICE_SETUP: which GPU devices the effect renders on, and for an OpenCL device the
// kernel it builds and hands to the host in a handle (released at setdown).
#ifndef SPIROVAULT_DRIVERS_GPU_DEVICE_SETUP_H
#define SPIROVAULT_DRIVERS_GPU_DEVICE_SETUP_H

#include "drivers/opencl_runtime.h"
#include "host/pf_gpu_framework.h"
#include "host/pf_in_out_data.h"

PF_Err GPUDeviceSetup(PF_InData* in_data, PF_OutData* out_data, PF_GPUDeviceSetupExtra* extra);

// The GPU runtimes a device setup can use: the OpenCL runtime when it could be loaded, and
// whether the CUDA kernel is compiled into the library. A device of a framework without its
// runtime is declined, and the host renders its frames on the CPU.
struct GpuRuntimes {
    const OpenClApi* opencl = nullptr;
    bool cuda = false;
};

// The runtimes of this process and build.
GpuRuntimes AvailableGpuRuntimes();

PF_Err SetUpGpuDevice(const GpuRuntimes& runtimes, PF_InData* in_data, PF_OutData* out_data,
                      PF_GPUDeviceSetupExtra* extra);

#endif
