#include "device/gpu/cuda_kernel_params.h"

#include <cstring>

namespace spirovault {

CudaKernelParams PackCudaKernelParams(const KernelArgs& args) {
    CudaKernelParams params;
    for (int i = 0; i < kKernelArgCount; ++i) {
        const auto arg = static_cast<KernelArg>(i);
        std::memcpy(params.bytes + kCudaParamLayout.offsets[i], args.Bytes(arg), SizeOf(arg));
    }
    return params;
}

}  // namespace spirovault
