// The OpenCL entry points the effect calls, resolved from the system's OpenCL library when first
// needed. The plug-in does not link OpenCL, so it loads on machines without an OpenCL driver;
// there the table is missing and OpenCL devices are declined.
#ifndef SPIROVAULT_HOST_OPENCL_RUNTIME_H
#define SPIROVAULT_HOST_OPENCL_RUNTIME_H

#include <memory>
#include <string>

#include "host/opencl_api.h"
#include "host/runtime_library.h"

struct OpenCLFunctions {
    decltype(&::clCreateProgramWithSource) CreateProgramWithSource;
    decltype(&::clBuildProgram) BuildProgram;
    decltype(&::clReleaseProgram) ReleaseProgram;
    decltype(&::clCreateKernel) CreateKernel;
    decltype(&::clReleaseKernel) ReleaseKernel;
    decltype(&::clSetKernelArg) SetKernelArg;
    decltype(&::clCreateBuffer) CreateBuffer;
    decltype(&::clReleaseMemObject) ReleaseMemObject;
    decltype(&::clEnqueueNDRangeKernel) EnqueueNDRangeKernel;
    decltype(&::clEnqueueBarrierWithWaitList) EnqueueBarrierWithWaitList;
};

// An opened OpenCL library and its complete table.
class OpenCLRuntime {
  public:
    // Null when the library cannot be opened or lacks any entry point of the table.
    static std::unique_ptr<OpenCLRuntime> Load(const std::string& library_name);

    const OpenCLFunctions& functions() const { return functions_; }

  private:
    explicit OpenCLRuntime(const std::string& library_name) : library_(library_name) {}

    RuntimeLibrary library_;
    OpenCLFunctions functions_{};
};

// The system's OpenCL library by its platform name ("OpenCL.dll", "libOpenCL.so.1").
extern const char* const kSystemOpenCLLibrary;

// The process's table, loaded once from the system library and kept until the process ends
// (kernels the host still holds refer to it); null on machines without OpenCL.
const OpenCLFunctions* SystemOpenCL();

#endif
