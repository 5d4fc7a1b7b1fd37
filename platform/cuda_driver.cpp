#include "platform/cuda_driver.h"

#include <optional>

namespace spirovault {

#if defined(_WIN32)
const char* const kSystemCudaDriverLibrary = "nvcuda.dll";
#else
const char* const kSystemCudaDriverLibrary = "libcuda.so.1";
#endif

std::unique_ptr<CudaDriverLibrary> CudaDriverLibrary::Load(const std::string& name) {
    std::unique_ptr<CudaDriverLibrary> loaded(new CudaDriverLibrary(name));
    const RuntimeLibrary& library = loaded->library_;
    if (!library.opened()) return nullptr;
    CudaDriverApi& api = loaded->api_;
    // The _v2 names are the entry points of 64-bit device pointers and sizes; the drivers keep
    // the plain names for the 32-bit forms.
    const bool complete = library.Resolve("cuCtxGetCurrent", &api.CtxGetCurrent) &&
                          library.Resolve("cuCtxGetDevice", &api.CtxGetDevice) &&
                          library.Resolve("cuCtxPushCurrent_v2", &api.CtxPushCurrent) &&
                          library.Resolve("cuCtxPopCurrent_v2", &api.CtxPopCurrent) &&
                          library.Resolve("cuCtxSynchronize", &api.CtxSynchronize) &&
                          library.Resolve("cuDeviceGetAttribute", &api.DeviceGetAttribute) &&
                          library.Resolve("cuModuleLoadData", &api.ModuleLoadData) &&
                          library.Resolve("cuModuleUnload", &api.ModuleUnload) &&
                          library.Resolve("cuModuleGetFunction", &api.ModuleGetFunction) &&
                          library.Resolve("cuLaunchKernel", &api.LaunchKernel) &&
                          library.Resolve("cuMemcpyHtoD_v2", &api.MemcpyHtoD) &&
                          library.Resolve("cuMemcpyDtoH_v2", &api.MemcpyDtoH);
    return complete ? std::move(loaded) : nullptr;
}

// Kept loaded for the life of the process, as the OpenCL runtime is: modules loaded through it
// live in the host's per-device state until setdown. Only the table is kept, in static storage.
const CudaDriverApi* CudaDriver() {
    static const std::optional<CudaDriverApi> api = []() -> std::optional<CudaDriverApi> {
        const std::unique_ptr<CudaDriverLibrary> library =
            CudaDriverLibrary::Load(kSystemCudaDriverLibrary);
        if (library == nullptr) return std::nullopt;
        library->KeepLoaded();
        return library->api();
    }();
    return api ? &*api : nullptr;
}

}  // namespace spirovault
