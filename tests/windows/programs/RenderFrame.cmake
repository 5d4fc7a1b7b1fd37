# spirovault-render-frame, defined alike for the native and the cross build.
spirovault_header_only(spirovault_stb_headers stb/stb_image_write.h)
add_executable(spirovault-render-frame ${CMAKE_CURRENT_LIST_DIR}/render_frame.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/stb_image_write_implementation.cpp)
target_link_libraries(spirovault-render-frame PRIVATE spirovault_standalone spirovault_stb_headers)
