#include "drivers/gpu_render_cuda.h"

#include "host/cuda_runtime_api.h"

#if SPIROVAULT_CUDA_RUNTIME_AVAILABLE
#include "drivers/launch_spirovault_kernel.h"

namespace {

// Device memory of one render, freed when the render returns (after the kernel has finished).
class DeviceTables {
  public:
    DeviceTables() = default;
    ~DeviceTables() {
        for (void* buffer : buffers_) {
            if (buffer != nullptr) cudaFree(buffer);
        }
    }
    DeviceTables(const DeviceTables&) = delete;
    DeviceTables& operator=(const DeviceTables&) = delete;

    // Null when the memory could not be allocated.
    void* Upload(const void* data, size_t bytes) {
        void* buffer = nullptr;
        if (cudaMalloc(&buffer, bytes) != cudaSuccess || buffer == nullptr) return nullptr;
        buffers_[count_++] = buffer;
        cudaMemcpy(buffer, data, bytes, cudaMemcpyHostToDevice);
        return buffer;
    }

  private:
    void* buffers_[3] = {nullptr, nullptr, nullptr};
    int count_ = 0;
};

}  // namespace

PF_Err RenderCuda(SpirovaultKernelArgs args, const RenderSettings& record) {
    // The runtime keeps the last error until it is fetched: an earlier frame's failed allocation
    // or launch must not fail this one.
    cudaGetLastError();
    const GpuLightTable lights = BuildLightTable(record);
    {
        DeviceTables tables;
        args.lights = tables.Upload(&lights, sizeof lights);
        args.ramp = tables.Upload(&record.ramp_table, sizeof record.ramp_table);
        // The kernel never runs with a table missing.
        if (args.lights == nullptr || args.ramp == nullptr) return PF_Err_OUT_OF_MEMORY;
        if (HasEnvironment(record)) {
            const size_t bytes = static_cast<size_t>(record.hdri_height) *
                                 static_cast<size_t>(record.hdri_width) * 3 * sizeof(float);
            args.environment = tables.Upload(record.hdri_pixels, bytes);
            if (args.environment == nullptr) return PF_Err_OUT_OF_MEMORY;
        }
        LaunchSpirovaultKernel(args);
    }
    return cudaPeekAtLastError() != cudaSuccess ? PF_Err_INTERNAL_STRUCT_DAMAGED : PF_Err_NONE;
}

#else

PF_Err RenderCuda(SpirovaultKernelArgs, const RenderSettings&) {
    return PF_Err_INTERNAL_STRUCT_DAMAGED;
}

#endif
