// The OpenCL half of the GPU render: uploads the frame's tables and queues the device's kernel.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_RENDER_OPENCL_H
#define SPIROVAULT_DEVICE_GPU_GPU_RENDER_OPENCL_H

#include "device/gpu/gpu_device_memory.h"
#include "device/gpu/gpu_kernel_args.h"
#include "host/ae_basic_types.h"
#include "platform/opencl_runtime.h"

namespace spirovault {

struct OpenClQueue {
    cl_context context = nullptr;
    cl_command_queue queue = nullptr;
    cl_kernel kernel = nullptr;  // the device's, from its setup
};

// Copies the frame's tables into device memory from `memory`, queues the kernel over the frame
// and a barrier behind it, and does not wait: the host's queue runs in order, so whatever uses
// the memory after it is freed runs after the kernel. 4 when the host refuses memory (nothing is
// queued); 512 on any OpenCL failure.
PF_Err RenderOpenCl(const OpenClApi& cl, const OpenClQueue& device, GpuDeviceMemory* memory,
                    GpuFrameData frame);

// Reads `bytes` of a device buffer (a GPU world's) into host memory, waiting for the queue.
PF_Err ReadOpenClBuffer(const OpenClApi& cl, cl_command_queue queue, void* buffer, size_t bytes,
                        void* host);

}  // namespace spirovault

#endif
