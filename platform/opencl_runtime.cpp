#include "platform/opencl_runtime.h"

#include <optional>

namespace spirovault {

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
        library.Resolve("clCreateProgramWithSource", &api.CreateProgramWithSource) &&
        library.Resolve("clBuildProgram", &api.BuildProgram) &&
        library.Resolve("clReleaseProgram", &api.ReleaseProgram) &&
        library.Resolve("clCreateKernel", &api.CreateKernel) &&
        library.Resolve("clReleaseKernel", &api.ReleaseKernel) &&
        library.Resolve("clEnqueueWriteBuffer", &api.EnqueueWriteBuffer) &&
        library.Resolve("clEnqueueReadBuffer", &api.EnqueueReadBuffer) &&
        library.Resolve("clSetKernelArg", &api.SetKernelArg) &&
        library.Resolve("clEnqueueNDRangeKernel", &api.EnqueueNDRangeKernel) &&
        library.Resolve("clEnqueueBarrierWithWaitList", &api.EnqueueBarrierWithWaitList);
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

}  // namespace spirovault
