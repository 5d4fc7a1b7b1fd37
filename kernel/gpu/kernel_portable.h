// What a kernel entry point needs beyond the render core's portable subset: the kernel
// qualifier, the four-float argument type and the thread's pixel position. The host's C++ sees
// the four-float type only, laid out as the devices lay theirs out.
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
struct alignas(16) SvFloat4 {
    float x = 0, y = 0, z = 0, w = 0;
};
static_assert(sizeof(SvFloat4) == 16, "a four-float argument is 16 bytes");
#endif

#endif
