# Builds the plug-in for one macOS architecture on this machine, with Debian's LLVM 14 against the
# stub SDK scripts/macos-check.sh assembles from tests/macos/sdk (pass -DQV_MAC_SDK=<that folder>).
# -DQV_MAC_ARCH=x86_64 (the default; macOS 10.13 on) or arm64 (Apple Silicon, macOS 11 on, the first
# system that runs on it); the check joins the two into universal bundles. The objects are real
# Mach-O; the libraries and frameworks they link against are text stubs.
set(CMAKE_SYSTEM_NAME Darwin)
if(NOT QV_MAC_ARCH)
  set(QV_MAC_ARCH x86_64)
endif()
if(QV_MAC_ARCH STREQUAL "arm64")
  set(_min 11.0)
  set(_target arm64-apple-macos11)
elseif(QV_MAC_ARCH STREQUAL "x86_64")
  set(_min 10.13)
  set(_target x86_64-apple-macosx10.13)
else()
  message(FATAL_ERROR "macOS toolchain: QV_MAC_ARCH is x86_64 or arm64, not '${QV_MAC_ARCH}'")
endif()
set(CMAKE_SYSTEM_PROCESSOR ${QV_MAC_ARCH})
set(CMAKE_OSX_ARCHITECTURES ${QV_MAC_ARCH} CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET ${_min} CACHE STRING "")
if(NOT QV_MAC_SDK)
  message(FATAL_ERROR "macOS toolchain: QV_MAC_SDK (the assembled stub SDK) is not set")
endif()
set(CMAKE_OSX_SYSROOT ${QV_MAC_SDK} CACHE PATH "")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QV_MAC_SDK QV_MAC_ARCH)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${_target})
set(CMAKE_CXX_COMPILER_TARGET ${_target})
find_program(CMAKE_AR llvm-ar-14 REQUIRED)
# Darwin's ranlib flags are not llvm-ranlib's: a plain index step finishes each archive.
find_program(CMAKE_RANLIB llvm-ranlib-14 REQUIRED)
set(CMAKE_C_ARCHIVE_FINISH "<CMAKE_RANLIB> <TARGET>")
set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_RANLIB> <TARGET>")

# libc++ with the std::__1 ABI, as on the Mac, and Apple's availability marks on (sdk/libcxx), so a
# library call newer than the deployment target fails as with Xcode. The framework headers are our stand-ins
# (tests/macos/stubs); Cocoa's classes are declared by GNUstep's headers (with the macros they
# expect), GCC's objc/ headers reached through a folder of their own so that GCC's stddef.h never
# shadows clang's. Objective-C++ keeps Apple's runtime ABI (the target's default), so the objects
# name classes as a Mac build does, and goes without blocks, which those headers cannot parse.
set(_objc ${QV_MAC_SDK}/../objc-include)
if(NOT EXISTS ${_objc}/objc)
  execute_process(COMMAND gcc -print-file-name=include OUTPUT_VARIABLE _gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(MAKE_DIRECTORY ${_objc})
  file(CREATE_LINK ${_gcc_include}/objc ${_objc}/objc SYMBOLIC)
endif()
set(CMAKE_CXX_FLAGS_INIT "-stdlib=libc++ -fno-blocks -isystem ${CMAKE_CURRENT_LIST_DIR}/sdk/libcxx \
-isystem ${CMAKE_CURRENT_LIST_DIR}/stubs \
-isystem /usr/include/GNUstep -isystem ${_objc} -DGNUSTEP -DGNUSTEP_BASE_LIBRARY=1 -DGNU_GUI_LIBRARY=1")
set(CMAKE_C_FLAGS_INIT "-isystem ${CMAKE_CURRENT_LIST_DIR}/stubs")
# LLVM's Mach-O linker; every object of every archive must resolve, not only those the entry points reach.
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld -Wl,-all_load")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
# The compiler checks make archives, not programs: nothing here runs.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH ${QV_MAC_SDK})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
