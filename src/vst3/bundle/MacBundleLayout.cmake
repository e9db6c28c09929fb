# The parts of the macOS bundle that are not the binary: Contents/Info.plist from Info.plist.in,
# Contents/PkgInfo, and optionally the resources and a stand-in binary. The macOS build runs it
# after every link of the real bundle; the Linux build runs it with a placeholder binary, so the
# layout a Mac user gets is exercised on every test run. Script mode:
#   cmake -DBUNDLE=<.../Quorvane.vst3> -DNAME=Quorvane -DIDENTIFIER=<reverse domain> -DVERSION=<x.y.z>
#         -DINFO_PLIST_IN=<template> [-DEXECUTABLE=<file>] [-DRESOURCES_DIR=<dir>]
#         -P MacBundleLayout.cmake
foreach(_v BUNDLE NAME IDENTIFIER VERSION INFO_PLIST_IN)
  if(NOT ${_v})
    message(FATAL_ERROR "MacBundleLayout: ${_v} is not set")
  endif()
endforeach()

# The variables the template names are the ones CMake itself fills for a bundle target.
set(MACOSX_BUNDLE_EXECUTABLE_NAME ${NAME})
set(MACOSX_BUNDLE_BUNDLE_NAME ${NAME})
set(MACOSX_BUNDLE_GUI_IDENTIFIER ${IDENTIFIER})
set(MACOSX_BUNDLE_BUNDLE_VERSION ${VERSION})
set(MACOSX_BUNDLE_SHORT_VERSION_STRING ${VERSION})
configure_file(${INFO_PLIST_IN} ${BUNDLE}/Contents/Info.plist)
# Package type and creator, as Info.plist gives them (BNDL, no creator code).
file(WRITE ${BUNDLE}/Contents/PkgInfo "BNDL????")

if(EXECUTABLE)
  file(MAKE_DIRECTORY ${BUNDLE}/Contents/MacOS)
  configure_file(${EXECUTABLE} ${BUNDLE}/Contents/MacOS/${NAME} COPYONLY)
endif()
if(RESOURCES_DIR)
  file(COPY ${RESOURCES_DIR}/ DESTINATION ${BUNDLE}/Contents/Resources)
endif()
