// What GPU device setup keeps for an OpenCL device: the block of the 8-byte host handle that the
// host stores as the device's gpu_data until setdown.
#ifndef SPIROVAULT_DEVICE_GPU_OPENCL_DEVICE_DATA_H
#define SPIROVAULT_DEVICE_GPU_OPENCL_DEVICE_DATA_H

#include "platform/opencl_api.h"

namespace spirovault {

struct OpenCLDeviceData {
    cl_kernel kernel;  // "SpirovaultKernel", null when it could not be built
};

static_assert(sizeof(OpenCLDeviceData) == 8, "the device handle holds one pointer");

}  // namespace spirovault

#endif
