// Kernel arguments belong to the kernel object, which every render on its device shares: one
// render's argument setting and enqueue must not interleave with another's. One lock per kernel
// (that is, per OpenCL device) serialises exactly those steps.
#ifndef SPIROVAULT_DEVICE_GPU_OPENCL_KERNEL_LOCK_H
#define SPIROVAULT_DEVICE_GPU_OPENCL_KERNEL_LOCK_H

#include <mutex>

#include "platform/opencl_api.h"

namespace spirovault {

// The lock of a device's kernel, made on first use.
std::mutex& OpenClKernelLock(cl_kernel kernel);

// Drops the lock of a kernel being released (at device setdown, when no render runs on it).
void ForgetOpenClKernelLock(cl_kernel kernel);

}  // namespace spirovault

#endif
