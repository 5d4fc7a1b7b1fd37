// A CUDA device through the CUDA runtime, where the standalone host is built with CUDA and the
// machine has a GPU: the device's primary context, made current on the threads that use it,
// and the default stream.
#include "host/cuda_runtime_api.h"
#include "standalone/gpu/gpu_device.h"

#if SPIROVAULT_CUDA_RUNTIME_AVAILABLE

namespace {

class CudaDevice : public GpuDevice {
  public:
    explicit CudaDevice(int ordinal) : ordinal_(ordinal) {}

    PF_GPU_Framework framework() const override { return PF_GPU_Framework_CUDA; }

    std::string name() const override {
        cudaDeviceProp properties{};
        if (cudaGetDeviceProperties(&properties, ordinal_) != cudaSuccess) return "CUDA device";
        return properties.name;
    }

    PF_GPUDeviceInfo info() const override {
        MakeCurrent();
        PF_GPUDeviceInfo info{};
        info.device_framework = PF_GPU_Framework_CUDA;
        info.compatibleB = 1;
        info.devicePV = reinterpret_cast<void*>(static_cast<intptr_t>(ordinal_));
        return info;  // no context or stream handles: the default stream of the current context
    }

    void* Allocate(size_t bytes) override {
        MakeCurrent();
        void* memory = nullptr;
        return cudaMalloc(&memory, bytes) == cudaSuccess ? memory : nullptr;
    }

    void Free(void* memory) override {
        MakeCurrent();
        if (memory != nullptr) cudaFree(memory);
    }

    bool Write(void* memory, size_t rowbytes, const void* rows, size_t row_length,
               int height) override {
        MakeCurrent();
        return cudaMemcpy2D(memory, rowbytes, rows, row_length, row_length,
                            static_cast<size_t>(height), cudaMemcpyHostToDevice) == cudaSuccess;
    }

    bool Read(const void* memory, size_t rowbytes, void* rows, size_t row_length,
              int height) override {
        MakeCurrent();
        return cudaMemcpy2D(rows, row_length, memory, rowbytes, row_length,
                            static_cast<size_t>(height), cudaMemcpyDeviceToHost) == cudaSuccess;
    }

    void Finish() override {
        MakeCurrent();
        cudaDeviceSynchronize();
    }

    void MakeCurrent() const override { cudaSetDevice(ordinal_); }

  private:
    int ordinal_;
};

}  // namespace

std::unique_ptr<GpuDevice> OpenCudaDevice(std::string* why_not) {
    int count = 0;
    if (cudaGetDeviceCount(&count) != cudaSuccess || count == 0) {
        if (why_not) *why_not = "no CUDA device is available";
        return nullptr;
    }
    if (cudaSetDevice(0) != cudaSuccess || cudaFree(nullptr) != cudaSuccess) {
        if (why_not) *why_not = "the CUDA device could not be initialised";
        return nullptr;
    }
    return std::make_unique<CudaDevice>(0);
}

#else

std::unique_ptr<GpuDevice> OpenCudaDevice(std::string* why_not) {
    if (why_not) *why_not = "this build has no CUDA support";
    return nullptr;
}

#endif
