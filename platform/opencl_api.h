// The OpenCL 1.2 calls the GPU paths make, from the system's headers.
#ifndef SPIROVAULT_PLATFORM_OPENCL_API_H
#define SPIROVAULT_PLATFORM_OPENCL_API_H

#ifndef CL_TARGET_OPENCL_VERSION
#define CL_TARGET_OPENCL_VERSION 120
#endif
#include <CL/cl.h>

#endif
