#include "host/opencl_runtime.h"

namespace {

template <typename Function>
bool Resolve(const RuntimeLibrary& library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(library.Symbol(name));
    return *function != nullptr;
}

}  // namespace

#ifdef _WIN32
const char* const kSystemOpenCLLibrary = "OpenCL.dll";
#else
const char* const kSystemOpenCLLibrary = "libOpenCL.so.1";
#endif

std::unique_ptr<OpenCLRuntime> OpenCLRuntime::Load(const std::string& library_name) {
    std::unique_ptr<OpenCLRuntime> runtime(new OpenCLRuntime(library_name));
    if (!runtime->library_.opened()) return nullptr;
    const RuntimeLibrary& lib = runtime->library_;
    OpenCLFunctions& f = runtime->functions_;
    const bool complete =
        Resolve(lib, "clCreateProgramWithSource", &f.CreateProgramWithSource) &&
        Resolve(lib, "clBuildProgram", &f.BuildProgram) &&
        Resolve(lib, "clReleaseProgram", &f.ReleaseProgram) &&
        Resolve(lib, "clCreateKernel", &f.CreateKernel) &&
        Resolve(lib, "clReleaseKernel", &f.ReleaseKernel) &&
        Resolve(lib, "clSetKernelArg", &f.SetKernelArg) &&
        Resolve(lib, "clCreateBuffer", &f.CreateBuffer) &&
        Resolve(lib, "clReleaseMemObject", &f.ReleaseMemObject) &&
        Resolve(lib, "clEnqueueNDRangeKernel", &f.EnqueueNDRangeKernel) &&
        Resolve(lib, "clEnqueueBarrierWithWaitList", &f.EnqueueBarrierWithWaitList);
    // A partial table would fail at the first missing call, in the middle of a render.
    if (!complete) return nullptr;
    return runtime;
}

const OpenCLFunctions* SystemOpenCL() {
    // Never unloaded: the host may release kernels at device teardown during process exit.
    static const OpenCLRuntime* const runtime = OpenCLRuntime::Load(kSystemOpenCLLibrary).release();
    return runtime != nullptr ? &runtime->functions() : nullptr;
}
