# The CUDA kernel is compiled with nvcc into a fat binary that the plug-in carries as data and
# hands to the CUDA driver at run time; no CUDA library is linked. Device code does not depend on
# the host platform, so the Windows cross build carries the same fat binary. Without nvcc (or
# with SPIROVAULT_CUDA=OFF) the plug-in carries none and declines CUDA devices.
option(SPIROVAULT_CUDA "Compile the CUDA kernel into the plug-in when nvcc is found" ON)
# A fat binary built elsewhere (the native build hands its own to the Windows cross build, so
# that nvcc compiles the kernel once).
set(SPIROVAULT_CUDA_FATBIN "" CACHE FILEPATH "A prebuilt fat binary of the kernel to embed")
# CUDA 13 supports Turing (sm_75) and newer: machine code for sm_75, and sm_75 PTX that the
# driver compiles for newer architectures.
set(SPIROVAULT_CUDA_GENCODE -gencode arch=compute_75,code=[sm_75,compute_75])
set(SPIROVAULT_CUDA_MIN_ARCH 75)
set(SPIROVAULT_HAVE_CUDA OFF)
if(SPIROVAULT_CUDA)
  if(SPIROVAULT_CUDA_FATBIN)
    set(SPIROVAULT_HAVE_CUDA ON)
  else()
    find_program(SPIROVAULT_NVCC nvcc HINTS /usr/local/cuda/bin)
    if(SPIROVAULT_NVCC)
      set(SPIROVAULT_HAVE_CUDA ON)
    endif()
  endif()
endif()
if(SPIROVAULT_HAVE_CUDA)
  if(SPIROVAULT_CUDA_FATBIN)
    message(STATUS "CUDA kernel: compiled, embedded from ${SPIROVAULT_CUDA_FATBIN}")
  else()
    message(STATUS "CUDA kernel: compiled with ${SPIROVAULT_NVCC}")
  endif()
elseif(SPIROVAULT_CUDA)
  spirovault_missing_part("nvcc"
    "NVIDIA's CUDA compiler, 13 or later (package cuda-nvcc-13-0 from NVIDIA's repository), in /usr/local/cuda/bin or on the PATH"
    "the CUDA kernel is not compiled and the plug-in declines CUDA devices")
else()
  message(STATUS "CUDA kernel: not compiled; the plug-in declines CUDA devices")
endif()
