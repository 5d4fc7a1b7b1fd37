// The CUDA half of the GPU render: copies the frame's tables to the device, launches the kernel
// on the context current on this thread and waits for it.
#ifndef SPIROVAULT_DRIVERS_GPU_RENDER_CUDA_H
#define SPIROVAULT_DRIVERS_GPU_RENDER_CUDA_H

#include "drivers/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "render/settings.h"

// `args` holds everything but the table buffers (MakeKernelArgs). 4 when a table cannot be
// allocated (nothing is launched), 512 when a CUDA error is pending after the launch, and 512
// in a library built without CUDA, whose device setup declines CUDA devices.
PF_Err RenderCuda(SpirovaultKernelArgs args, const RenderSettings& record);

#endif
