// The CUDA half of the GPU render: copies the frame's tables to the device, launches the kernel
// on the context current on this thread and waits for it.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_CUDA_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_CUDA_H

#include "device/gpu/gpu_device_memory.h"
#include "device/gpu/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "platform/cuda_driver.h"

namespace spirovault {

// `kernel` is the device's "SpirovaultKernel"; the tables go into device memory from `memory`,
// which may be freed once this returns (it waits for the kernel). 4 when the host refuses memory
// (nothing is launched); 512 when a copy, the launch or the kernel fails.
PF_Err RenderCuda(const CudaDriverApi& cu, CUfunction kernel, GpuDeviceMemory* memory,
                  GpuFrameData frame);

// Reads `bytes` of device memory (a GPU world's) into host memory.
PF_Err ReadCudaMemory(const CudaDriverApi& cu, const void* device, size_t bytes, void* host);

}  // namespace spirovault

#endif
