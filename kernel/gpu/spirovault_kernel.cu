// The CUDA build of the kernel: nvcc compiles this unit into the fat binary the plug-in carries.
#include "kernel/gpu/spirovault_kernel.h"
