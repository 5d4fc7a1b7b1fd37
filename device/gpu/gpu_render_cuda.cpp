#include "device/gpu/gpu_render_cuda.h"

#include "device/gpu/cuda_kernel_params.h"

namespace spirovault {

namespace {

// The table's copy in device memory from the host.
PF_Err Upload(const CudaDriverApi& cu, GpuDeviceMemory* memory, const void* data, size_t bytes,
              void** device_pointer) {
    const PF_Err err = memory->Allocate(bytes, device_pointer);
    if (err != PF_Err_NONE) return err;
    const auto buffer = static_cast<CUdeviceptr>(reinterpret_cast<uintptr_t>(*device_pointer));
    return cu.MemcpyHtoD(buffer, data, bytes) == CUDA_SUCCESS ? PF_Err_NONE
                                                              : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

PF_Err Launch(const CudaDriverApi& cu, CUfunction kernel, const KernelArgs& args) {
    CudaKernelParams params = PackCudaKernelParams(args);
    size_t size = params.size;
    void* extra[] = {CU_LAUNCH_PARAM_BUFFER_POINTER, params.bytes, CU_LAUNCH_PARAM_BUFFER_SIZE,
                     &size, CU_LAUNCH_PARAM_END};
    const unsigned int grid_x = (args.Get<KernelArg::width>() + 15u) / 16u;
    const unsigned int grid_y = (args.Get<KernelArg::height>() + 15u) / 16u;
    // An empty frame has nothing to launch; the driver refuses a grid of no blocks.
    if (grid_x == 0 || grid_y == 0) return PF_Err_NONE;
    const CUresult launched =
        cu.LaunchKernel(kernel, grid_x, grid_y, 1, 16, 16, 1, 0, nullptr, nullptr, extra);
    // Waited for whatever the launch said: the tables are freed only once the device is done.
    const CUresult finished = cu.CtxSynchronize();
    return launched == CUDA_SUCCESS && finished == CUDA_SUCCESS ? PF_Err_NONE
                                                                : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

}  // namespace

PF_Err RenderCuda(const CudaDriverApi& cu, CUfunction kernel, GpuDeviceMemory* memory,
                  GpuFrameData frame) {
    if (kernel == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    void* lights = nullptr;
    void* ramp = nullptr;
    void* environment = nullptr;
    PF_Err err = Upload(cu, memory, &frame.lights, sizeof frame.lights, &lights);
    if (err == PF_Err_NONE) err = Upload(cu, memory, frame.ramp, sizeof *frame.ramp, &ramp);
    if (err == PF_Err_NONE && frame.environment != nullptr) {
        err = Upload(cu, memory, frame.environment, frame.environment_bytes, &environment);
    }
    // The kernel never runs with a table missing.
    if (err != PF_Err_NONE) return err;
    frame.args.Set<KernelArg::lights>(lights);
    frame.args.Set<KernelArg::ramp>(ramp);
    frame.args.Set<KernelArg::environment>(environment);
    return Launch(cu, kernel, frame.args);
}

PF_Err ReadCudaMemory(const CudaDriverApi& cu, const void* device, size_t bytes, void* host) {
    const auto source = static_cast<CUdeviceptr>(reinterpret_cast<uintptr_t>(device));
    return cu.MemcpyDtoH(host, source, bytes) == CUDA_SUCCESS ? PF_Err_NONE
                                                              : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

}  // namespace spirovault
