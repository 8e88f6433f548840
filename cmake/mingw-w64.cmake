# Cross-compiles the Windows screensaver with mingw-w64 (Debian's x86_64 packages).
# Usage: cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LW_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX-threads flavour: complete C++20 threading and atomics, linked statically below.
find_program(CMAKE_C_COMPILER NAMES ${LW_MINGW_PREFIX}-gcc-posix ${LW_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${LW_MINGW_PREFIX}-g++-posix ${LW_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${LW_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${LW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(LW_HOST win32 CACHE STRING "Host the program runs on: headless, sdl or win32" FORCE)
