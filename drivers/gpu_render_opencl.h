// The OpenCL half of the GPU render: uploads the frame's tables and queues the device's kernel.
#ifndef SPIROVAULT_DRIVERS_GPU_RENDER_OPENCL_H
#define SPIROVAULT_DRIVERS_GPU_RENDER_OPENCL_H

#include "drivers/gpu_kernel_args.h"
#include "drivers/opencl_runtime.h"
#include "host/ae_basic_types.h"
#include "render/settings.h"

struct OpenClQueue {
    cl_context context = nullptr;
    cl_command_queue queue = nullptr;
    cl_kernel kernel = nullptr;  // the device's, from its setup
};

// `args` holds everything but the table buffers (MakeKernelArgs). Queues the kernel over the
// frame and a barrier behind it, and does not wait. 512 on any OpenCL failure.
PF_Err RenderOpenCl(const OpenClApi& cl, const OpenClQueue& device, SpirovaultKernelArgs args,
                    const RenderSettings& record);

#endif
