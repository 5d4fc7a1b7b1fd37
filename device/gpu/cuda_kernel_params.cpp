#include "device/gpu/cuda_kernel_params.h"

#include <cstring>

CudaKernelParams PackCudaKernelParams(const SpirovaultKernelArgs& args) {
    CudaKernelParams params;
    std::memset(params.bytes, 0, sizeof params.bytes);
    size_t offset = 0;
    for (int i = 0; i < kSpirovaultKernelArgCount; ++i) {
        const KernelArgSlot slot = KernelArgAt(args, i);
        // Every argument is a 4-byte scalar, an 8-byte pointer or a 16-byte vector, each aligned
        // to its size.
        offset = (offset + slot.size - 1) / slot.size * slot.size;
        std::memcpy(params.bytes + offset, slot.value, slot.size);
        params.offsets[i] = offset;
        offset += slot.size;
    }
    params.size = offset;
    return params;
}
