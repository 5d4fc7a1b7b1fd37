// The OpenCL half of the GPU render: uploads the frame's tables and queues the device's kernel.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_OPENCL_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_OPENCL_H

#include "device/gpu/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "platform/opencl_runtime.h"

namespace spirovault {

struct OpenClQueue {
    cl_context context = nullptr;
    cl_command_queue queue = nullptr;
    cl_kernel kernel = nullptr;  // the device's, from its setup
};

// Queues the kernel over the frame and a barrier behind it, and does not wait. 512 on any
// OpenCL failure.
PF_Err RenderOpenCl(const OpenClApi& cl, const OpenClQueue& device, GpuFrameData frame);

}  // namespace spirovault

#endif
