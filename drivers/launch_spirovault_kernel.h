// The CUDA launch of "SpirovaultKernel", compiled by nvcc together with the kernel.
#ifndef SPIROVAULT_DRIVERS_LAUNCH_SPIROVAULT_KERNEL_H
#define SPIROVAULT_DRIVERS_LAUNCH_SPIROVAULT_KERNEL_H

#include "drivers/gpu_kernel_args.h"

// 16 x 16 blocks covering the frame, on the default stream of the current context; waits for
// the device. Errors are left for cudaPeekAtLastError.
void LaunchSpirovaultKernel(const SpirovaultKernelArgs& args);

#endif
