// The CUDA half of the GPU render: copies the frame's tables to the device, launches the kernel
// on the context current on this thread and waits for it.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_CUDA_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_CUDA_H

#include "device/gpu/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "platform/cuda_driver.h"

namespace spirovault {

// `kernel` is the device's "SpirovaultKernel". 4 when a table cannot be allocated (nothing is
// launched); 512 when a copy, the launch or the kernel fails. Nothing of a failed frame stays
// behind for the next one.
PF_Err RenderCuda(const CudaDriverApi& cu, CUfunction kernel, GpuFrameData frame);

}  // namespace spirovault

#endif
