// The kernel's arguments as the one parameter buffer cuLaunchKernel takes through its `extra`
// list: in order, each at an offset rounded up to its own size (4, 8 or 16 bytes), as the
// kernel's parameter list lays them out. The launch thereby says every argument's size itself.
#ifndef SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_PARAMS_H
#define SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_PARAMS_H

#include <cstddef>

#include "device/gpu/gpu_kernel_args.h"

namespace spirovault {

struct CudaParamLayout {
    size_t offsets[kKernelArgCount] = {};
    size_t size = 0;
};

constexpr CudaParamLayout MakeCudaParamLayout() {
    CudaParamLayout layout;
    size_t offset = 0;
    for (int i = 0; i < kKernelArgCount; ++i) {
        const size_t size = SizeOf(static_cast<KernelArg>(i));
        offset = (offset + size - 1) / size * size;
        layout.offsets[i] = offset;
        offset += size;
    }
    layout.size = offset;
    return layout;
}
inline constexpr CudaParamLayout kCudaParamLayout = MakeCudaParamLayout();

struct CudaKernelParams {
    alignas(16) unsigned char bytes[kCudaParamLayout.size] = {};
    size_t size = kCudaParamLayout.size;
};

CudaKernelParams PackCudaKernelParams(const KernelArgs& args);

}  // namespace spirovault

#endif
