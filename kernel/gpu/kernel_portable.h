// What a kernel entry point needs beyond the render core's portable subset: the kernel
// qualifier, buffer arguments, the four-float argument type and the thread's pixel position.
// Compiled as CUDA C++ and as OpenCL C only.
#ifndef SPIROVAULT_KERNEL_GPU_KERNEL_PORTABLE_H
#define SPIROVAULT_KERNEL_GPU_KERNEL_PORTABLE_H

#if defined(__OPENCL_VERSION__)
#define SV_KERNEL __kernel void
typedef float4 SvFloat4;
#define SvThreadX() ((int)(get_group_id(0) * get_local_size(0) + get_local_id(0)))
#define SvThreadY() ((int)(get_group_id(1) * get_local_size(1) + get_local_id(1)))
#elif defined(__CUDACC__)
// Unmangled, so the device code carries the kernel under its own name.
#define SV_KERNEL extern "C" __global__ void
typedef float4 SvFloat4;
#define SvThreadX() ((int)(blockIdx.x * blockDim.x + threadIdx.x))
#define SvThreadY() ((int)(blockIdx.y * blockDim.y + threadIdx.y))
#else
#error "the kernel compiles as CUDA C++ or OpenCL C"
#endif

#endif
