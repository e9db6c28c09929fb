# Cross-builds Quorvane for Windows x64 with MinGW-w64's GCC (posix threads). The C++ and GCC runtimes
# and winpthread are linked in statically, so every program and plug-in loads only Windows' own DLLs.
# Test programs run through wine, in a prefix of their own inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The build machine's pkg-config files describe Linux libraries: none of them is for this target.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${_triple}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Unicode Win32 calls throughout (…W), Windows 7 as the oldest system, the C runtime's reentrant
# time calls (localtime_r), its standard printf formats (%zu, %lld) and M_PI.
set(_defs "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601 -D_POSIX_THREAD_SAFE_FUNCTIONS -D__USE_MINGW_ANSI_STDIO=1 -D_USE_MATH_DEFINES")
set(CMAKE_C_FLAGS_INIT "${_defs}")
set(CMAKE_CXX_FLAGS_INIT "${_defs}")
set(_static "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_static}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_static}")

# wine runs the test programs; the first start in a new prefix builds it (about 15 s).
find_program(QV_WINE NAMES wine wine64)
if(QV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
      WINEDEBUG=-all ${QV_WINE})
endif()
