# Two packages from one build, made by scripts/package:
#   Spirovault-<version>-windows-x64.zip        the host plug-in for artists (tests/windows
#                                               cross-builds it into windows/ under this build)
#   spirovault-render-<version>-linux-x86_64.tar.gz  the renderer for pipelines and farm nodes
# Each is one install component; cmake/CPackProjectConfig.cmake picks a component per generator.
if(CMAKE_CROSSCOMPILING)
  return()
endif()

# The renderer finds spirovault.so beside itself, and the plug-in its OpenCL program file beside
# itself, so bin/ holds all three and the tree works wherever it is unpacked.
install(TARGETS spirovault-render spirovault-make-sky RUNTIME DESTINATION bin COMPONENT renderer)
install(TARGETS spirovault LIBRARY DESTINATION bin COMPONENT renderer)
install(FILES ${SPIROVAULT_OPENCL_KERNEL_FILE} DESTINATION bin COMPONENT renderer)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples COMPONENT renderer
        USE_SOURCE_PERMISSIONS)
install(FILES ${PROJECT_SOURCE_DIR}/docs/farm.md ${PROJECT_SOURCE_DIR}/docs/parameters.md
        DESTINATION docs COMPONENT renderer)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/pictures DESTINATION docs COMPONENT renderer)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/README-renderer.md DESTINATION . RENAME README.md
        COMPONENT renderer)
# Compiled in from header-only libraries; the system's shared libraries are not bundled.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/NOTICES-renderer.md DESTINATION . RENAME NOTICES.md
        COMPONENT renderer)
install(FILES /usr/share/doc/nlohmann-json3-dev/copyright DESTINATION licenses
        RENAME nlohmann-json.txt COMPONENT renderer)

if(TARGET spirovault_windows)
  set(windows_effect_dir ${CMAKE_BINARY_DIR}/windows/effect)
  get_filename_component(kernel_name ${SPIROVAULT_OPENCL_KERNEL_FILE} NAME)
  install(FILES ${windows_effect_dir}/Spirovault.aex ${windows_effect_dir}/${kernel_name}
          DESTINATION . COMPONENT windows)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/install.md DESTINATION . RENAME INSTALL.md
          COMPONENT windows)
  # The compiler's runtimes are linked into the .aex statically.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/NOTICES-windows.md DESTINATION .
          RENAME NOTICES.md COMPONENT windows)
  install(FILES /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright
          DESTINATION licenses RENAME gcc-runtime.txt COMPONENT windows)
  install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licenses
          RENAME mingw-w64.txt COMPONENT windows)
endif()

set(CPACK_PACKAGE_NAME Spirovault)
set(CPACK_PACKAGE_VENDOR Thalwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_GENERATOR "TGZ;ZIP")
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# One folder named as the package inside it, so that unpacking never scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The build keeps its debug information; the packages do not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake)
include(CPack)
