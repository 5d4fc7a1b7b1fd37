#include "drivers/cuda_driver.h"

#include <optional>

namespace {

template <typename Function>
bool Resolve(const RuntimeLibrary& library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(library.Symbol(name));
    return *function != nullptr;
}

}  // namespace

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
    const bool complete = Resolve(library, "cuCtxGetCurrent", &api.CtxGetCurrent) &&
                          Resolve(library, "cuCtxGetDevice", &api.CtxGetDevice) &&
                          Resolve(library, "cuCtxPushCurrent_v2", &api.CtxPushCurrent) &&
                          Resolve(library, "cuCtxPopCurrent_v2", &api.CtxPopCurrent) &&
                          Resolve(library, "cuCtxSynchronize", &api.CtxSynchronize) &&
                          Resolve(library, "cuDeviceGetAttribute", &api.DeviceGetAttribute) &&
                          Resolve(library, "cuModuleLoadData", &api.ModuleLoadData) &&
                          Resolve(library, "cuModuleUnload", &api.ModuleUnload) &&
                          Resolve(library, "cuModuleGetFunction", &api.ModuleGetFunction) &&
                          Resolve(library, "cuLaunchKernel", &api.LaunchKernel) &&
                          Resolve(library, "cuMemAlloc_v2", &api.MemAlloc) &&
                          Resolve(library, "cuMemFree_v2", &api.MemFree) &&
                          Resolve(library, "cuMemcpyHtoD_v2", &api.MemcpyHtoD);
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
