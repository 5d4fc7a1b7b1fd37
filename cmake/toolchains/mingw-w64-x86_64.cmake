# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads variant, which gives
# std::thread and std::mutex). Use: -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(SPIROVAULT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SPIROVAULT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPIROVAULT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SPIROVAULT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SPIROVAULT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything a Windows product needs from the toolchain is linked in: the host application and
# the user's machine have no MinGW runtime DLLs, only the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# -O2 as in the Linux build: GCC 12's -O3 inlining raises false -Wrestrict warnings inside
# std::string (GCC bug 105329).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for release builds")
