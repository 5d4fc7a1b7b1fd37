# spirovault_header_only(TARGET HEADER): an interface target TARGET whose include path finds
# HEADER (e.g. CL/cl.h) from /usr/include; a second call for the same target does nothing. Such headers are declarations or header-only code,
# the same on every platform, so a cross build uses the build machine's too, through a folder
# that holds only that header's subfolder: the cross compiler must never see /usr/include itself.
function(spirovault_header_only target header)
  if(TARGET ${target})
    return()
  endif()
  string(MAKE_C_IDENTIFIER ${target} id)
  find_path(SPIROVAULT_${id}_INCLUDE ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            REQUIRED)
  set(include ${SPIROVAULT_${id}_INCLUDE})
  if(CMAKE_CROSSCOMPILING)
    get_filename_component(subfolder ${header} DIRECTORY)
    set(include ${CMAKE_BINARY_DIR}/build-machine-headers/${id})
    file(MAKE_DIRECTORY ${include})
    file(CREATE_LINK ${SPIROVAULT_${id}_INCLUDE}/${subfolder} ${include}/${subfolder} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${include})
endfunction()
