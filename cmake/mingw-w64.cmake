# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread and
# std::mutex). The Windows libraries Zelvo builds against live under ZELVO_WINDOWS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
if(NOT ZELVO_WINDOWS_PREFIX)
  set(ZELVO_WINDOWS_PREFIX "$ENV{ZELVO_WINDOWS_PREFIX}")
endif()
if(NOT ZELVO_WINDOWS_PREFIX)
  set(ZELVO_WINDOWS_PREFIX /opt/zelvo-windows)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ZELVO_WINDOWS_PREFIX}/qt ${ZELVO_WINDOWS_PREFIX}/curl
    ${ZELVO_WINDOWS_PREFIX}/gtest)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
