// The CUDA kernel's fat binary that the library carries: machine code for the oldest
// architecture the toolkit supports and PTX the driver compiles for newer ones. The driver
// loads it from memory into the context current for a device.
#ifndef SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_IMAGE_H
#define SPIROVAULT_DEVICE_GPU_CUDA_KERNEL_IMAGE_H

#include <cstddef>

struct EmbeddedBytes {
    const unsigned char* data;
    size_t size;
};

// Empty in a library built without nvcc, which declines CUDA devices.
EmbeddedBytes SpirovaultCudaKernelImage();

// The oldest compute capability the fat binary runs on, as major * 10 + minor.
constexpr int kCudaKernelMinArchitecture = 75;

#endif
