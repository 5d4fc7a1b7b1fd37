// GPU frameworks as the host names them, and the extras of GPU device setup and setdown.
#ifndef SPIROVAULT_HOST_PF_GPU_FRAMEWORK_H
#define SPIROVAULT_HOST_PF_GPU_FRAMEWORK_H

#include "host/ae_basic_types.h"

typedef A_long PF_GPU_Framework;
enum {
    PF_GPU_Framework_NONE = 0,
    PF_GPU_Framework_OPENCL = 1,
    PF_GPU_Framework_METAL = 2,
    PF_GPU_Framework_CUDA = 3,
};

typedef struct {
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_GPUDeviceSetupInput;

typedef struct {
    void* gpu_data;  // kept by the host per device, handed back with every GPU call
} PF_GPUDeviceSetupOutput;

typedef struct {
    PF_GPUDeviceSetupInput* input;
    PF_GPUDeviceSetupOutput* output;
} PF_GPUDeviceSetupExtra;

typedef struct {
    void* gpu_data;
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_GPUDeviceSetdownInput;

typedef struct {
    PF_GPUDeviceSetdownInput* input;
} PF_GPUDeviceSetdownExtra;

#endif
