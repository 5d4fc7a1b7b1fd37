#include "device/gpu/gpu_render_cuda.h"

#include "device/gpu/cuda_kernel_params.h"

namespace spirovault {

namespace {

// Device memory of one render, freed when the render returns (after the kernel has finished).
class DeviceTables {
  public:
    explicit DeviceTables(const CudaDriverApi& cu) : cu_(cu) {}
    ~DeviceTables() {
        for (int i = 0; i < count_; ++i) cu_.MemFree(buffers_[i]);
    }
    DeviceTables(const DeviceTables&) = delete;
    DeviceTables& operator=(const DeviceTables&) = delete;

    // The table's copy on the device; 4 when it cannot be allocated, 512 when it cannot be
    // copied.
    PF_Err Upload(const void* data, size_t bytes, void** device_pointer) {
        CUdeviceptr buffer = 0;
        if (cu_.MemAlloc(&buffer, bytes) != CUDA_SUCCESS || buffer == 0) {
            return PF_Err_OUT_OF_MEMORY;
        }
        buffers_[count_++] = buffer;
        if (cu_.MemcpyHtoD(buffer, data, bytes) != CUDA_SUCCESS) {
            return PF_Err_INTERNAL_STRUCT_DAMAGED;
        }
        *device_pointer = reinterpret_cast<void*>(static_cast<uintptr_t>(buffer));
        return PF_Err_NONE;
    }

  private:
    const CudaDriverApi& cu_;
    CUdeviceptr buffers_[3] = {0, 0, 0};
    int count_ = 0;
};

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

PF_Err RenderCuda(const CudaDriverApi& cu, CUfunction kernel, GpuFrameData frame) {
    if (kernel == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    DeviceTables tables(cu);
    void* lights = nullptr;
    void* ramp = nullptr;
    void* environment = nullptr;
    PF_Err err = tables.Upload(&frame.lights, sizeof frame.lights, &lights);
    if (err == PF_Err_NONE) err = tables.Upload(frame.ramp, sizeof *frame.ramp, &ramp);
    if (err == PF_Err_NONE && frame.environment != nullptr) {
        err = tables.Upload(frame.environment, frame.environment_bytes, &environment);
    }
    // The kernel never runs with a table missing.
    if (err != PF_Err_NONE) return err;
    frame.args.Set<KernelArg::lights>(lights);
    frame.args.Set<KernelArg::ramp>(ramp);
    frame.args.Set<KernelArg::environment>(environment);
    return Launch(cu, kernel, frame.args);
}

}  // namespace spirovault
