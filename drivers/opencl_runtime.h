// The OpenCL entry points the effect calls, loaded from the system's OpenCL library when first
// needed, so that the plug-in loads and renders on the CPU where no OpenCL runtime is installed.
#ifndef SPIROVAULT_DRIVERS_OPENCL_RUNTIME_H
#define SPIROVAULT_DRIVERS_OPENCL_RUNTIME_H

#include "host/opencl_api.h"

struct OpenClApi {
    decltype(&::clCreateProgramWithSource) CreateProgramWithSource;
    decltype(&::clBuildProgram) BuildProgram;
    decltype(&::clReleaseProgram) ReleaseProgram;
    decltype(&::clCreateKernel) CreateKernel;
    decltype(&::clReleaseKernel) ReleaseKernel;
    decltype(&::clCreateBuffer) CreateBuffer;
    decltype(&::clReleaseMemObject) ReleaseMemObject;
    decltype(&::clSetKernelArg) SetKernelArg;
    decltype(&::clEnqueueNDRangeKernel) EnqueueNDRangeKernel;
    decltype(&::clEnqueueBarrierWithWaitList) EnqueueBarrierWithWaitList;
};

// The process's OpenCL runtime, loaded once; null when the library or any entry point is missing.
const OpenClApi* OpenClRuntime();

#endif
