# Read by cpack once per generator: the zip is the Windows plug-in, the tarball the renderer.
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_COMPONENTS_ALL windows)
  set(CPACK_PACKAGE_FILE_NAME "Spirovault-${CPACK_PACKAGE_VERSION}-windows-x64")
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL renderer)
  set(CPACK_PACKAGE_FILE_NAME "spirovault-render-${CPACK_PACKAGE_VERSION}-linux-x86_64")
endif()
set(CPACK_ARCHIVE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
