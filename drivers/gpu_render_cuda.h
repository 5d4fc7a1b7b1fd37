// The CUDA half of the GPU render: copies the frame's tables to the device, launches the kernel
// on the context current on this thread and waits for it.
#ifndef SPIROVAULT_DRIVERS_GPU_RENDER_CUDA_H
#define SPIROVAULT_DRIVERS_GPU_RENDER_CUDA_H

#include "drivers/cuda_driver.h"
#include "drivers/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "render/settings.h"

// `args` holds everything but the table buffers (MakeKernelArgs); `kernel` is the device's
// "SpirovaultKernel". 4 when a table cannot be allocated (nothing is launched); 512 when a copy,
// the launch or the kernel fails. Nothing of a failed frame stays behind for the next one.
PF_Err RenderCuda(const CudaDriverApi& cu, CUfunction kernel, SpirovaultKernelArgs args,
                  const RenderSettings& record);

#endif
