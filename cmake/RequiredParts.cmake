# Parts of the build that only some machines can make (the CUDA kernel, the Windows plug-in, the
# OpenCL tests). Where every part must be built and tested (CI set in the environment, or
# -DSPIROVAULT_REQUIRE_ALL_PARTS=ON), a missing one stops the configure with the package to
# install; elsewhere it is left out with a message.
option(SPIROVAULT_REQUIRE_ALL_PARTS "Fail when a tool for some part of the build is missing" OFF)
set(spirovault_every_part_required ${SPIROVAULT_REQUIRE_ALL_PARTS})
if(NOT "$ENV{CI}" STREQUAL "" AND NOT "$ENV{CI}" MATCHES "^(0|false)$")
  set(spirovault_every_part_required ON)
endif()

# spirovault_missing_part(WHAT INSTALL CONSEQUENCE)
function(spirovault_missing_part what install consequence)
  if(spirovault_every_part_required)
    message(FATAL_ERROR "${what} not found, and every part must be built here (CI): "
                        "install ${install}")
  endif()
  message(STATUS "${what} not found: ${consequence} (install ${install})")
endfunction()
