// The CUDA driver entry points the plug-in calls, taken from the system's driver library when
// first needed, so that the plug-in loads and renders on the CPU where no NVIDIA driver is
// installed.
#ifndef SPIROVAULT_PLATFORM_CUDA_DRIVER_H
#define SPIROVAULT_PLATFORM_CUDA_DRIVER_H

#include <memory>
#include <string>

#include "platform/cuda_driver_api.h"
#include "platform/runtime_library.h"

namespace spirovault {

struct CudaDriverApi {
    PFN_cuCtxGetCurrent CtxGetCurrent;
    PFN_cuCtxGetDevice CtxGetDevice;
    PFN_cuCtxPushCurrent_v2 CtxPushCurrent;
    PFN_cuCtxPopCurrent_v2 CtxPopCurrent;
    PFN_cuCtxSynchronize CtxSynchronize;
    PFN_cuDeviceGetAttribute DeviceGetAttribute;
    PFN_cuModuleLoadData ModuleLoadData;
    PFN_cuModuleUnload ModuleUnload;
    PFN_cuModuleGetFunction ModuleGetFunction;
    PFN_cuLaunchKernel LaunchKernel;
    // Device memory comes from the host's GPU device suite; the effect only fills and reads it.
    PFN_cuMemcpyHtoD_v2 MemcpyHtoD;
    PFN_cuMemcpyDtoH_v2 MemcpyDtoH;
};

// An opened driver library and its complete table.
class CudaDriverLibrary {
  public:
    // Null when the library cannot be opened or lacks any entry point of the table.
    static std::unique_ptr<CudaDriverLibrary> Load(const std::string& name);

    const CudaDriverApi& api() const { return api_; }
    // The library stays loaded after this object goes, so that the table stays valid.
    void KeepLoaded() { library_.KeepLoaded(); }

  private:
    explicit CudaDriverLibrary(const std::string& name) : library_(name) {}

    RuntimeLibrary library_;
    CudaDriverApi api_{};
};

// The system's driver library by its platform name ("nvcuda.dll", "libcuda.so.1").
extern const char* const kSystemCudaDriverLibrary;

// The process's CUDA driver, loaded once; null when the library or any entry point is missing.
const CudaDriverApi* CudaDriver();

}  // namespace spirovault

#endif
