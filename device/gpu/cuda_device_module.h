// What GPU device setup keeps for a CUDA device: the block of a host handle that the host stores
// as the device's gpu_data until setdown. The kernel's module is loaded into the context the
// host makes current for the device, on the device's first frame, under a lock of its own (never
// held across a call into the host), and unloaded at setdown.
#ifndef SPIROVAULT_DEVICE_GPU_CUDA_DEVICE_MODULE_H
#define SPIROVAULT_DEVICE_GPU_CUDA_DEVICE_MODULE_H

#include "host/pf_handle_suite.h"
#include "platform/cuda_driver.h"

namespace spirovault {

struct CudaDeviceData {
    CUmodule module;      // null until the first frame loads it
    CUfunction function;  // "SpirovaultKernel" in that module
    CUcontext context;    // the context it was loaded into
};

// Makes the device's handle with nothing loaded; null when the host has no memory for it.
PF_Handle NewCudaDeviceHandle(const PF_HandleSuite1& handles);

// The kernel of the device's handle, loading its module into the current context if this is the
// device's first frame; null when it cannot be loaded (the next frame tries again).
CUfunction CudaDeviceKernel(const CudaDriverApi& cu, const PF_HandleSuite1& handles,
                            PF_Handle handle);

// At setdown: unloads the module (in the context it was loaded into) and disposes of the handle.
void ReleaseCudaDeviceHandle(const CudaDriverApi* cu, const PF_HandleSuite1& handles,
                             PF_Handle handle);

}  // namespace spirovault

#endif
