# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling the Qt-free core and its tests for 64-bit Windows with MinGW-w64 (Debian's mingw-w64),
# run under Wine:
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The posix thread model gives std::mutex and std::thread with GCC 12.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VB_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables run under Wine without MinGW's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian puts the Wine launcher outside PATH.
find_program(VB_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VB_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VB_WINE})
endif()

# Only the Qt-free libraries and their tests exist for Windows here; GoogleTest comes from its sources.
set(VB_CORE_ONLY ON CACHE BOOL "" FORCE)
set(VB_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "")
