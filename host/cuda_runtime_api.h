// The CUDA runtime calls the GPU path makes, from the toolkit when it is installed.
#ifndef SPIROVAULT_HOST_CUDA_RUNTIME_API_H
#define SPIROVAULT_HOST_CUDA_RUNTIME_API_H

#if defined(SPIROVAULT_HAVE_CUDA) && __has_include(<cuda_runtime_api.h>)
#include <cuda_runtime_api.h>
#define SPIROVAULT_CUDA_RUNTIME_AVAILABLE 1
#else
#define SPIROVAULT_CUDA_RUNTIME_AVAILABLE 0
#endif

#endif
