// The OpenCL program of "SpirovaultKernel": two source strings, the second including the kernel
// file "Kestrelite_Kernel.cu" that is installed beside the plug-in library.
#ifndef SPIROVAULT_DEVICE_GPU_OPENCL_PROGRAM_H
#define SPIROVAULT_DEVICE_GPU_OPENCL_PROGRAM_H

#include <string>

#include "platform/opencl_runtime.h"

namespace spirovault {

extern const char kOpenClProgramPrelude[];
extern const char kOpenClProgramInclude[];
extern const char kOpenClBuildOptions[];
extern const char kOpenClKernelFileName[];

// The build options with an include path naming `kernel_directory` appended, so that the
// compiler finds the kernel file wherever the host process runs; unchanged when it is empty.
std::string OpenClBuildOptions(const std::string& kernel_directory);

// Creates and builds the program on one device and creates the kernel from it. Returns the first
// OpenCL error (CL_SUCCESS when all went well). *kernel receives whatever clCreateKernel returned,
// and stays null when the chain ended before it. The program is released: the kernel keeps it.
cl_int BuildSpirovaultKernel(const OpenClApi& cl, cl_context context, cl_device_id device,
                             const std::string& options, cl_kernel* kernel);

}  // namespace spirovault

#endif
