# The Quorvane.vst3 bundle: the plug-in class, the VST 3 adapter and the module entry points
# linked into one loadable module, laid out the way hosts look for it, plus `install-vst3`.
# Included from the plug-in folder once the plug-in library exists.

set(QV_VENDOR "Tallowmarkworks")
set(QV_VENDOR_URL "https://www.tallowmarkworks.com")
set(QV_VENDOR_EMAIL "support@tallowmarkworks.com")
# GUID_DATA1..4 of vst3/ModuleClassInfo.h, as hosts print class identifiers.
set(QV_CLASS_ID "5A3C9E17B4D2417F546D776B51767231")
# The engine finds its images through this identifier: it must equal kPluginBundleID in
# vst3/MakeGraphics.cpp (the macOS layout test compares them).
set(QV_BUNDLE_ID "com.tallowmarkworks.quorvane")

set(QV_BUNDLE_DIR ${CMAKE_BINARY_DIR}/Quorvane.vst3 CACHE INTERNAL "The built plug-in bundle")
set(_bundle_src ${CMAKE_CURRENT_LIST_DIR})
set(_mac_layout -DNAME=Quorvane -DIDENTIFIER=${QV_BUNDLE_ID} -DVERSION=${PROJECT_VERSION}
                -DINFO_PLIST_IN=${_bundle_src}/Info.plist.in)

add_library(Quorvane MODULE ${QV_VST3_MODULE_SOURCES})
target_link_libraries(Quorvane PRIVATE qv_plugin qv_vst3)
set_target_properties(Quorvane PROPERTIES
  PREFIX ""
  C_VISIBILITY_PRESET hidden
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

if(APPLE)
  set_target_properties(Quorvane PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION vst3
    # A generator expression keeps Xcode from adding a folder per configuration: the resources
    # and install-vst3 expect the bundle at QV_BUNDLE_DIR.
    LIBRARY_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}>
    MACOSX_BUNDLE_BUNDLE_NAME Quorvane
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QV_BUNDLE_ID}
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
    MACOSX_BUNDLE_INFO_PLIST ${_bundle_src}/Info.plist.in)
  target_link_libraries(Quorvane PRIVATE "-framework CoreFoundation")
  target_link_options(Quorvane PRIVATE -Wl,-exported_symbols_list,${_bundle_src}/exports_macos.txt)
  add_custom_command(TARGET Quorvane POST_BUILD
    COMMAND ${CMAKE_COMMAND} ${_mac_layout} -DBUNDLE=${QV_BUNDLE_DIR} -P ${_bundle_src}/MacBundleLayout.cmake
    VERBATIM)
  set(_resources ${QV_BUNDLE_DIR}/Contents/Resources)
else()
  set(_arch ${CMAKE_SYSTEM_PROCESSOR})
  if(_arch STREQUAL "AMD64" OR _arch STREQUAL "amd64")
    set(_arch x86_64)
  endif()
  set_target_properties(Quorvane PROPERTIES
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${QV_BUNDLE_DIR}/Contents/${_arch}-linux
    LINK_DEPENDS ${_bundle_src}/exports.map)
  # Only the entry points leave the module; everything linked in from our static libraries stays
  # private, so two plug-ins built on the same code never bind to each other's symbols.
  target_link_options(Quorvane PRIVATE -Wl,--version-script=${_bundle_src}/exports.map)
  # Fuzzing builds leave the instrumentation's symbols to the loading program.
  if(NOT QV_FUZZ)
    target_link_options(Quorvane PRIVATE -Wl,-z,defs)
  endif()
  set(_resources ${QV_BUNDLE_DIR}/Contents/Resources)
  # The vector maths library travels inside the bundle, found next to the module first, so the
  # plug-in loads on machines that do not have it installed.
  if(QV_SLEEF_FILE)
    set_target_properties(Quorvane PROPERTIES BUILD_RPATH "\$ORIGIN" INSTALL_RPATH "\$ORIGIN")
    add_custom_command(TARGET Quorvane POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QV_SLEEF_FILE}
              ${QV_BUNDLE_DIR}/Contents/${_arch}-linux/${QV_SLEEF_SONAME}
      COMMENT "Copying the vector maths library into the bundle")
  endif()
endif()

file(MAKE_DIRECTORY ${_resources})
configure_file(${_bundle_src}/moduleinfo.json.in ${_resources}/moduleinfo.json @ONLY)
# The editor's film strips sit directly in Resources: the windows load an image by the last
# component of its resource name, as the macOS bundle lookup does.
set(_img ${PROJECT_SOURCE_DIR}/src/plugin/resources/img)
file(GLOB _img_files CONFIGURE_DEPENDS ${_img}/*.png)
if(_img_files)
  # Its own target, so an image changed without a relink still reaches the bundle.
  add_custom_target(quorvane-images
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_img_files} ${_resources}
    COMMENT "Copying the editor images into the bundle")
  add_dependencies(Quorvane quorvane-images)
endif()

# The macOS bundle laid out here around a placeholder binary, with the resources above
# (build/.../macos-dryrun/Quorvane.vst3); tests/vst3 checks the same layout.
if(NOT APPLE)
  set(QV_MAC_LAYOUT_ARGS ${_mac_layout} -DRESOURCES_DIR=${_resources}
      CACHE INTERNAL "MacBundleLayout.cmake arguments")
  set(_dryrun ${CMAKE_BINARY_DIR}/macos-dryrun)
  file(WRITE ${_dryrun}/placeholder "Stands in for the Mach-O module, which only a Mac builds.\n")
  add_custom_target(quorvane-macos-dryrun
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_dryrun}/Quorvane.vst3
    COMMAND ${CMAKE_COMMAND} ${QV_MAC_LAYOUT_ARGS} -DBUNDLE=${_dryrun}/Quorvane.vst3
            -DEXECUTABLE=${_dryrun}/placeholder -P ${_bundle_src}/MacBundleLayout.cmake
    VERBATIM)
  if(TARGET quorvane-images)
    add_dependencies(quorvane-macos-dryrun quorvane-images)
  endif()
endif()

add_custom_target(install-vst3
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${QV_BUNDLE_DIR} -P ${_bundle_src}/InstallBundle.cmake
  DEPENDS Quorvane
  COMMENT "Installing Quorvane.vst3 into the user's VST 3 folder")
