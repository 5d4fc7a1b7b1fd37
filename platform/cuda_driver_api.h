// The CUDA driver API as the GPU paths call it: the driver library (nvcuda.dll, libcuda.so.1) is
// opened at run time, so only the types, constants and entry-point signatures are declared here.
// Names and values are the driver's own; the _v2 entry points are those of 64-bit device
// pointers and sizes.
#ifndef SPIROVAULT_PLATFORM_CUDA_DRIVER_API_H
#define SPIROVAULT_PLATFORM_CUDA_DRIVER_API_H

#include <cstddef>

extern "C" {

typedef int CUresult;
typedef int CUdevice;
typedef unsigned long long CUdeviceptr;
typedef struct CUctx_st* CUcontext;
typedef struct CUmod_st* CUmodule;
typedef struct CUfunc_st* CUfunction;
typedef struct CUstream_st* CUstream;
typedef int CUdevice_attribute;

}  // extern "C"

constexpr CUresult CUDA_SUCCESS = 0;
constexpr CUresult CUDA_ERROR_INVALID_VALUE = 1;
constexpr CUresult CUDA_ERROR_OUT_OF_MEMORY = 2;
constexpr CUresult CUDA_ERROR_NOT_INITIALIZED = 3;
constexpr CUresult CUDA_ERROR_NO_DEVICE = 100;
constexpr CUresult CUDA_ERROR_INVALID_IMAGE = 200;
constexpr CUresult CUDA_ERROR_INVALID_CONTEXT = 201;
constexpr CUresult CUDA_ERROR_INVALID_HANDLE = 400;
constexpr CUresult CUDA_ERROR_NOT_FOUND = 500;
constexpr CUresult CUDA_ERROR_LAUNCH_FAILED = 719;

constexpr CUdevice_attribute CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MAJOR = 75;
constexpr CUdevice_attribute CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MINOR = 76;

// cuLaunchKernel's `extra` list: the kernel's parameters as one buffer laid out as the kernel
// declares them, and that buffer's size.
#define CU_LAUNCH_PARAM_END (reinterpret_cast<void*>(0x00))
#define CU_LAUNCH_PARAM_BUFFER_POINTER (reinterpret_cast<void*>(0x01))
#define CU_LAUNCH_PARAM_BUFFER_SIZE (reinterpret_cast<void*>(0x02))

// The driver's calling convention: the platform's default on x86-64 (Windows and Linux alike).
extern "C" {

// Set-up and contexts.
typedef CUresult (*PFN_cuInit)(unsigned int flags);
typedef CUresult (*PFN_cuDeviceGetCount)(int* count);
typedef CUresult (*PFN_cuDeviceGet)(CUdevice* device, int ordinal);
typedef CUresult (*PFN_cuDeviceGetName)(char* name, int length, CUdevice device);
typedef CUresult (*PFN_cuDeviceGetAttribute)(int* value, CUdevice_attribute attribute,
                                             CUdevice device);
typedef CUresult (*PFN_cuDevicePrimaryCtxRetain)(CUcontext* context, CUdevice device);
typedef CUresult (*PFN_cuDevicePrimaryCtxRelease_v2)(CUdevice device);
typedef CUresult (*PFN_cuCtxGetCurrent)(CUcontext* context);
typedef CUresult (*PFN_cuCtxSetCurrent)(CUcontext context);
typedef CUresult (*PFN_cuCtxGetDevice)(CUdevice* device);
typedef CUresult (*PFN_cuCtxPushCurrent_v2)(CUcontext context);
typedef CUresult (*PFN_cuCtxPopCurrent_v2)(CUcontext* context);
typedef CUresult (*PFN_cuCtxSynchronize)();

// Modules and launches.
typedef CUresult (*PFN_cuModuleLoadData)(CUmodule* module, const void* image);
typedef CUresult (*PFN_cuModuleUnload)(CUmodule module);
typedef CUresult (*PFN_cuModuleGetFunction)(CUfunction* function, CUmodule module,
                                            const char* name);
typedef CUresult (*PFN_cuLaunchKernel)(CUfunction function, unsigned int grid_x,
                                       unsigned int grid_y, unsigned int grid_z,
                                       unsigned int block_x, unsigned int block_y,
                                       unsigned int block_z, unsigned int shared_bytes,
                                       CUstream stream, void** kernel_params, void** extra);

// Memory.
typedef CUresult (*PFN_cuMemAlloc_v2)(CUdeviceptr* memory, size_t bytes);
typedef CUresult (*PFN_cuMemFree_v2)(CUdeviceptr memory);
typedef CUresult (*PFN_cuMemcpyHtoD_v2)(CUdeviceptr destination, const void* source, size_t bytes);
typedef CUresult (*PFN_cuMemcpyDtoH_v2)(void* destination, CUdeviceptr source, size_t bytes);

}  // extern "C"

#endif
