# Builds Quorvane for 64-bit ARM Linux with Debian's cross compiler (g++-aarch64-linux-gnu) against
# Debian's arm64 libraries, installed beside the machine's own through multiarch
# (dpkg --add-architecture arm64; scripts/setup.sh does it). Programs run here through qemu-aarch64:
# ctest and the build's own test discovery start them with CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(_triple aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${_triple}-gcc)
set(CMAKE_CXX_COMPILER ${_triple}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${_triple})

# The arm64 loader and libraries live in / beside the native ones (libc6:arm64 and the other :arm64
# packages); -L / points qemu there rather than at its own default folder, which may not exist.
find_program(QV_QEMU_AARCH64 qemu-aarch64)
if(QV_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_QEMU_AARCH64} -L /)
endif()

# Libraries and headers from the arm64 multiarch folders only; programs (code generators, pkg-config)
# from the machine itself.
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# pkg-config reads the arm64 .pc files, never the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${_triple}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
