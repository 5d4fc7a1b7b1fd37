// A CUDA device through the system's CUDA driver, opened at run time as the plug-in opens it:
// the first device's primary context, made current on the threads that use it, and the default
// stream.
#include <cstdint>
#include <optional>

#include "hostsim/gpu_devices/gpu_device.h"
#include "platform/cuda_driver_api.h"
#include "platform/runtime_library.h"

namespace hostsim {

namespace {

#if defined(_WIN32)
const char* const kDriverLibrary = "nvcuda.dll";
#else
const char* const kDriverLibrary = "libcuda.so.1";
#endif

struct HostCudaDriver {
    PFN_cuInit Init;
    PFN_cuDeviceGetCount DeviceGetCount;
    PFN_cuDeviceGet DeviceGet;
    PFN_cuDeviceGetName DeviceGetName;
    PFN_cuDevicePrimaryCtxRetain PrimaryCtxRetain;
    PFN_cuDevicePrimaryCtxRelease_v2 PrimaryCtxRelease;
    PFN_cuCtxSetCurrent CtxSetCurrent;
    PFN_cuCtxSynchronize CtxSynchronize;
    PFN_cuMemAlloc_v2 MemAlloc;
    PFN_cuMemFree_v2 MemFree;
    PFN_cuMemcpyHtoD_v2 MemcpyHtoD;
    PFN_cuMemcpyDtoH_v2 MemcpyDtoH;
};

// Loaded once and kept for the process, like the plug-in's own table.
const HostCudaDriver* Driver() {
    static const std::optional<HostCudaDriver> driver = []() -> std::optional<HostCudaDriver> {
        RuntimeLibrary library(kDriverLibrary);
        HostCudaDriver d{};
        const bool complete =
            library.opened() && library.Resolve("cuInit", &d.Init) &&
            library.Resolve("cuDeviceGetCount", &d.DeviceGetCount) &&
            library.Resolve("cuDeviceGet", &d.DeviceGet) &&
            library.Resolve("cuDeviceGetName", &d.DeviceGetName) &&
            library.Resolve("cuDevicePrimaryCtxRetain", &d.PrimaryCtxRetain) &&
            library.Resolve("cuDevicePrimaryCtxRelease_v2", &d.PrimaryCtxRelease) &&
            library.Resolve("cuCtxSetCurrent", &d.CtxSetCurrent) &&
            library.Resolve("cuCtxSynchronize", &d.CtxSynchronize) &&
            library.Resolve("cuMemAlloc_v2", &d.MemAlloc) &&
            library.Resolve("cuMemFree_v2", &d.MemFree) &&
            library.Resolve("cuMemcpyHtoD_v2", &d.MemcpyHtoD) &&
            library.Resolve("cuMemcpyDtoH_v2", &d.MemcpyDtoH);
        if (!complete) return std::nullopt;
        library.KeepLoaded();
        return d;
    }();
    return driver ? &*driver : nullptr;
}

CUdeviceptr DevicePointer(const void* memory) {
    return static_cast<CUdeviceptr>(reinterpret_cast<uintptr_t>(memory));
}

class CudaDevice : public GpuDevice {
  public:
    CudaDevice(const HostCudaDriver& cu, CUdevice device, CUcontext context)
        : cu_(cu), device_(device), context_(context) {}
    ~CudaDevice() override { cu_.PrimaryCtxRelease(device_); }

    PF_GPU_Framework framework() const override { return PF_GPU_Framework_CUDA; }

    std::string name() const override {
        char name[256] = {};
        if (cu_.DeviceGetName(name, sizeof name - 1, device_) != CUDA_SUCCESS) return "CUDA device";
        return name;
    }

    PF_GPUDeviceInfo info() const override {
        PF_GPUDeviceInfo info{};
        info.device_framework = PF_GPU_Framework_CUDA;
        info.compatibleB = 1;
        info.devicePV = reinterpret_cast<void*>(static_cast<intptr_t>(device_));
        info.contextPV = context_;
        return info;  // no stream: the default stream of the current context
    }

    void* Allocate(size_t bytes) override {
        MakeCurrent();
        CUdeviceptr memory = 0;
        if (cu_.MemAlloc(&memory, bytes) != CUDA_SUCCESS) return nullptr;
        return reinterpret_cast<void*>(static_cast<uintptr_t>(memory));
    }

    void Free(void* memory) override {
        MakeCurrent();
        if (memory != nullptr) cu_.MemFree(DevicePointer(memory));
    }

    bool Write(void* memory, size_t rowbytes, const void* rows, size_t row_length,
               int height) override {
        MakeCurrent();
        const auto* source = static_cast<const unsigned char*>(rows);
        if (rowbytes == row_length) {
            return cu_.MemcpyHtoD(DevicePointer(memory), source,
                                  row_length * static_cast<size_t>(height)) == CUDA_SUCCESS;
        }
        for (int y = 0; y < height; ++y) {
            const size_t row = static_cast<size_t>(y);
            if (cu_.MemcpyHtoD(DevicePointer(memory) + row * rowbytes, source + row * row_length,
                               row_length) != CUDA_SUCCESS) {
                return false;
            }
        }
        return true;
    }

    bool Read(const void* memory, size_t rowbytes, void* rows, size_t row_length,
              int height) override {
        MakeCurrent();
        auto* target = static_cast<unsigned char*>(rows);
        if (rowbytes == row_length) {
            return cu_.MemcpyDtoH(target, DevicePointer(memory),
                                  row_length * static_cast<size_t>(height)) == CUDA_SUCCESS;
        }
        for (int y = 0; y < height; ++y) {
            const size_t row = static_cast<size_t>(y);
            if (cu_.MemcpyDtoH(target + row * row_length, DevicePointer(memory) + row * rowbytes,
                               row_length) != CUDA_SUCCESS) {
                return false;
            }
        }
        return true;
    }

    void Finish() override {
        MakeCurrent();
        cu_.CtxSynchronize();
    }

    void MakeCurrent() const override { cu_.CtxSetCurrent(context_); }

  private:
    const HostCudaDriver& cu_;
    CUdevice device_;
    CUcontext context_;
};

}  // namespace

std::unique_ptr<GpuDevice> OpenCudaDevice(std::string* why_not) {
    const HostCudaDriver* cu = Driver();
    if (cu == nullptr) {
        if (why_not) *why_not = std::string("no CUDA driver (") + kDriverLibrary + ")";
        return nullptr;
    }
    int count = 0;
    if (cu->Init(0) != CUDA_SUCCESS || cu->DeviceGetCount(&count) != CUDA_SUCCESS || count == 0) {
        if (why_not) *why_not = "no CUDA device is available";
        return nullptr;
    }
    CUdevice device = 0;
    CUcontext context = nullptr;
    if (cu->DeviceGet(&device, 0) != CUDA_SUCCESS ||
        cu->PrimaryCtxRetain(&context, device) != CUDA_SUCCESS) {
        if (why_not) *why_not = "the CUDA device could not be initialised";
        return nullptr;
    }
    return std::make_unique<CudaDevice>(*cu, device, context);
}

}  // namespace hostsim
