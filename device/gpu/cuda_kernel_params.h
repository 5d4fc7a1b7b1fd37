// The 38 kernel arguments as the one parameter buffer cuLaunchKernel takes through its `extra`
// list: in order, each at an offset rounded up to its own size (4, 8 or 16 bytes), as the
// kernel's parameter list lays them out. The launch thereby says every argument's size itself.
#ifndef SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_PARAMS_H
#define SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_PARAMS_H

#include <cstddef>

#include "device/gpu/gpu_kernel_args.h"

struct CudaKernelParams {
    alignas(16) unsigned char bytes[512];
    size_t size = 0;
    size_t offsets[kSpirovaultKernelArgCount] = {};
};

CudaKernelParams PackCudaKernelParams(const SpirovaultKernelArgs& args);

#endif
