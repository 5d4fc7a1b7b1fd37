#include "drivers/opencl_runtime.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
void* OpenLibrary() {
    return reinterpret_cast<void*>(LoadLibraryA("OpenCL.dll"));
}
void* FindSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
#else
void* OpenLibrary() {
    return dlopen("libOpenCL.so.1", RTLD_NOW | RTLD_LOCAL);
}
void* FindSymbol(void* library, const char* name) {
    return dlsym(library, name);
}
#endif

template <typename Function>
bool Resolve(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(FindSymbol(library, name));
    return *function != nullptr;
}

// The library stays loaded for the life of the process: kernels built through it live in the
// host's per-device state until setdown, which may come at any time.
const OpenClApi* Load() {
    static OpenClApi api{};
    void* library = OpenLibrary();
    if (library == nullptr) return nullptr;
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
    return complete ? &api : nullptr;
}

}  // namespace

const OpenClApi* OpenClRuntime() {
    static const OpenClApi* const api = Load();
    return api;
}
