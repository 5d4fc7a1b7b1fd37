#include "drivers/cuda_kernel_image.h"

EmbeddedBytes SpirovaultCudaKernelImage() {
    return {nullptr, 0};
}
