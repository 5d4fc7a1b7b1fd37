# The CUDA kernel is compiled into the plug-in when nvcc is found (SPIROVAULT_CUDA=OFF builds
# without it). CUDA 13 supports Turing (sm_75) and newer: device code for sm_75, and sm_75 PTX
# that the driver compiles for newer architectures.
option(SPIROVAULT_CUDA "Compile the CUDA kernel into the plug-in when nvcc is found" ON)
set(SPIROVAULT_CUDA_GENCODE -gencode arch=compute_75,code=[sm_75,compute_75])
set(SPIROVAULT_HAVE_CUDA OFF)
# CUDA cannot be cross-built: the Windows build carries no CUDA kernel and declines CUDA devices.
if(SPIROVAULT_CUDA AND NOT CMAKE_CROSSCOMPILING)
  find_program(SPIROVAULT_NVCC nvcc HINTS /usr/local/cuda/bin)
  if(SPIROVAULT_NVCC)
    get_filename_component(nvcc_bin ${SPIROVAULT_NVCC} DIRECTORY)
    get_filename_component(CUDAToolkit_ROOT ${nvcc_bin} DIRECTORY)
    find_package(CUDAToolkit)
    if(CUDAToolkit_FOUND AND TARGET CUDA::cudart_static)
      set(SPIROVAULT_HAVE_CUDA ON)
    endif()
  endif()
endif()
if(SPIROVAULT_HAVE_CUDA)
  message(STATUS "CUDA kernel: compiled with ${SPIROVAULT_NVCC}")
else()
  message(STATUS "CUDA kernel: not compiled; the plug-in declines CUDA devices")
endif()

# spirovault_cuda_object(OUTPUT SOURCE DEPENDS...): compiles SOURCE with nvcc into an object
# for a position-independent static library.
function(spirovault_cuda_object output source)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${SPIROVAULT_NVCC} -std=c++17 ${SPIROVAULT_CUDA_GENCODE} -O3 -Werror all-warnings
            -Xcompiler=-fPIC,-fvisibility=hidden -I${PROJECT_SOURCE_DIR} -c ${source}
            -o ${output}
    DEPENDS ${source} ${ARGN}
    COMMENT "Compiling ${source} with nvcc"
    VERBATIM)
  set_source_files_properties(${output} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
endfunction()
