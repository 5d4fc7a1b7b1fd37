#include "drivers/opencl_runtime.h"

#include <optional>

namespace {

template <typename Function>
bool Resolve(const RuntimeLibrary& library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(library.Symbol(name));
    return *function != nullptr;
}

}  // namespace

#if defined(_WIN32)
const char* const kSystemOpenClLibrary = "OpenCL.dll";
#else
const char* const kSystemOpenClLibrary = "libOpenCL.so.1";
#endif

std::unique_ptr<OpenClLibrary> OpenClLibrary::Load(const std::string& name) {
    std::unique_ptr<OpenClLibrary> loaded(new OpenClLibrary(name));
    const RuntimeLibrary& library = loaded->library_;
    if (!library.opened()) return nullptr;
    OpenClApi& api = loaded->api_;
    const bool complete =
        Resolve(library, "clCreateProgramWithSource", &api.CreateProgramWithSource) &&
        Resolve(library, "clBuildProgram", &api.BuildProgram) &&
        Resolve(library, "clReleaseProgram", &api.ReleaseProgram) &&
        Resolve(library, "clCreateKernel", &api.CreateKernel) &&
        Resolve(library, "clReleaseKernel", &api.ReleaseKernel) &&
        Resolve(library, "clCreateBuffer", &api.CreateBuffer) &&
        Resolve(library, "clReleaseMemObject", &api.ReleaseMemObject) &&
        Resolve(library, "clSetKernelArg", &api.SetKernelArg) &&
        Resolve(library, "clEnqueueNDRangeKernel", &api.EnqueueNDRangeKernel) &&
        Resolve(library, "clEnqueueBarrierWithWaitList", &api.EnqueueBarrierWithWaitList);
    return complete ? std::move(loaded) : nullptr;
}

// The library stays loaded for the life of the process: kernels built through it live in the
// host's per-device state until setdown, which may come at any time, even during exit. Only the
// table is kept, in static storage: nothing on the heap outlives the plug-in's unloading.
const OpenClApi* OpenClRuntime() {
    static const std::optional<OpenClApi> api = []() -> std::optional<OpenClApi> {
        const std::unique_ptr<OpenClLibrary> library = OpenClLibrary::Load(kSystemOpenClLibrary);
        if (library == nullptr) return std::nullopt;
        library->KeepLoaded();
        return library->api();
    }();
    return api ? &*api : nullptr;
}
