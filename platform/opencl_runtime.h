// The OpenCL entry points the effect calls, loaded from the system's OpenCL library when first
// needed, so that the plug-in loads and renders on the CPU where no OpenCL runtime is installed.
#ifndef SPIROVAULT_PLATFORM_OPENCL_RUNTIME_H
#define SPIROVAULT_PLATFORM_OPENCL_RUNTIME_H

#include <memory>
#include <string>

#include "platform/opencl_api.h"
#include "platform/runtime_library.h"

namespace spirovault {

struct OpenClApi {
    decltype(&::clCreateProgramWithSource) CreateProgramWithSource;
    decltype(&::clBuildProgram) BuildProgram;
    decltype(&::clReleaseProgram) ReleaseProgram;
    decltype(&::clCreateKernel) CreateKernel;
    decltype(&::clReleaseKernel) ReleaseKernel;
    // Device memory comes from the host's GPU device suite; the effect only fills and reads it.
    decltype(&::clEnqueueWriteBuffer) EnqueueWriteBuffer;
    decltype(&::clEnqueueReadBuffer) EnqueueReadBuffer;
    decltype(&::clSetKernelArg) SetKernelArg;
    decltype(&::clEnqueueNDRangeKernel) EnqueueNDRangeKernel;
    decltype(&::clEnqueueBarrierWithWaitList) EnqueueBarrierWithWaitList;
};

// An opened OpenCL library and its complete table.
class OpenClLibrary {
  public:
    // Null when the library cannot be opened or lacks any entry point of the table: a partial
    // table would fail at the first missing call, in the middle of a render.
    static std::unique_ptr<OpenClLibrary> Load(const std::string& name);

    const OpenClApi& api() const { return api_; }
    // The library stays loaded after this object goes, so that the table stays valid.
    void KeepLoaded() { library_.KeepLoaded(); }

  private:
    explicit OpenClLibrary(const std::string& name) : library_(name) {}

    RuntimeLibrary library_;
    OpenClApi api_{};
};

// The system's OpenCL library by its platform name ("OpenCL.dll", "libOpenCL.so.1").
extern const char* const kSystemOpenClLibrary;

// The process's OpenCL runtime, loaded once; null when the library or any entry point is missing.
const OpenClApi* OpenClRuntime();

}  // namespace spirovault

#endif
