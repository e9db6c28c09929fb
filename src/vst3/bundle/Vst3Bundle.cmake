# A plug-in's .vst3 bundle: the plug-in library, the VST 3 adapter and the module entry points
# linked into one loadable module, laid out the way hosts look for it, plus `install-vst3`.
# Product-neutral: it reads the plug-in's identity (the QV_ID_* variables) and links QV_PLUGIN_LIBRARY.
# Included from the plug-in folder once the plug-in library exists.

set(QV_BUNDLE_DIR ${CMAKE_BINARY_DIR}/${QV_ID_NAME}.vst3 CACHE INTERNAL "The built plug-in bundle")
set(_bundle_src ${CMAKE_CURRENT_LIST_DIR})
set(_mac_layout -DNAME=${QV_ID_NAME} -DIDENTIFIER=${QV_ID_BUNDLE_ID} -DVERSION=${QV_ID_VERSION}
                -DINFO_PLIST_IN=${_bundle_src}/Info.plist.in)

set(_target ${QV_ID_NAME})
add_library(${_target} MODULE ${QV_VST3_MODULE_SOURCES})
target_link_libraries(${_target} PRIVATE ${QV_PLUGIN_LIBRARY} qv_vst3)
set_target_properties(${_target} PROPERTIES
  PREFIX ""
  C_VISIBILITY_PRESET hidden
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

if(APPLE)
  set_target_properties(${_target} PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION vst3
    # A generator expression keeps Xcode from adding a folder per configuration: the resources
    # and install-vst3 expect the bundle at QV_BUNDLE_DIR.
    LIBRARY_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}>
    MACOSX_BUNDLE_BUNDLE_NAME ${QV_ID_NAME}
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QV_ID_BUNDLE_ID}
    MACOSX_BUNDLE_BUNDLE_VERSION ${QV_ID_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${QV_ID_VERSION}
    MACOSX_BUNDLE_INFO_PLIST ${_bundle_src}/Info.plist.in)
  target_link_libraries(${_target} PRIVATE "-framework CoreFoundation")
  target_link_options(${_target} PRIVATE -Wl,-exported_symbols_list,${_bundle_src}/exports_macos.txt)
  add_custom_command(TARGET ${_target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} ${_mac_layout} -DBUNDLE=${QV_BUNDLE_DIR} -P ${_bundle_src}/MacBundleLayout.cmake
    VERBATIM)
  set(_resources ${QV_BUNDLE_DIR}/Contents/Resources)
elseif(WIN32)
  # Contents/x86_64-win/Quorvane.vst3: a DLL exporting the module's entry points alone, with the
  # editor's images and the version resource inside.
  include(${_bundle_src}/WindowsModule.cmake)
  file(GLOB _win_images CONFIGURE_DEPENDS ${QV_PLUGIN_IMAGES}/*.png)
  set_target_properties(${_target} PROPERTIES
    SUFFIX ".vst3"
    LIBRARY_OUTPUT_DIRECTORY ${QV_BUNDLE_DIR}/Contents/x86_64-win)
  qv_windows_module(TARGET ${_target} FORMAT "VST 3" FILE ${QV_ID_NAME}.vst3 DEF ${_bundle_src}/exports.def
                    IMAGES ${_win_images})
  set(_resources ${QV_BUNDLE_DIR}/Contents/Resources)
else()
  set(_arch ${CMAKE_SYSTEM_PROCESSOR})
  if(_arch STREQUAL "AMD64" OR _arch STREQUAL "amd64")
    set(_arch x86_64)
  endif()
  set_target_properties(${_target} PROPERTIES
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${QV_BUNDLE_DIR}/Contents/${_arch}-linux
    LINK_DEPENDS ${_bundle_src}/exports.map)
  # Only the entry points leave the module; everything linked in from our static libraries stays
  # private, so two plug-ins built on the same code never bind to each other's symbols.
  target_link_options(${_target} PRIVATE -Wl,--version-script=${_bundle_src}/exports.map)
  # Fuzzing builds leave the instrumentation's symbols to the loading program.
  if(NOT QV_FUZZ)
    target_link_options(${_target} PRIVATE -Wl,-z,defs)
  endif()
  set(_resources ${QV_BUNDLE_DIR}/Contents/Resources)
  # The vector maths library travels inside the bundle, found next to the module first, so the
  # plug-in loads on machines that do not have it installed.
  if(QV_SLEEF_FILE)
    set_target_properties(${_target} PROPERTIES BUILD_RPATH "\$ORIGIN" INSTALL_RPATH "\$ORIGIN")
    add_custom_command(TARGET ${_target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QV_SLEEF_FILE}
              ${QV_BUNDLE_DIR}/Contents/${_arch}-linux/${QV_SLEEF_SONAME}
      COMMENT "Copying the vector maths library into the bundle")
  endif()
endif()

file(MAKE_DIRECTORY ${_resources})
# moduleinfo.json lists the sub-categories one string each.
string(REPLACE "|" "\",\n        \"" QV_VST3_SUBCATEGORIES_JSON "${QV_ID_VST3_SUBCATEGORIES}")
configure_file(${_bundle_src}/moduleinfo.json.in ${_resources}/moduleinfo.json @ONLY)
# The editor's film strips sit directly in Resources: the windows load an image by the last
# component of its resource name, as the macOS bundle lookup does.
set(_img ${QV_PLUGIN_IMAGES})
file(GLOB _img_files CONFIGURE_DEPENDS ${_img}/*.png)
if(_img_files AND NOT WIN32)
  # Its own target, so an image changed without a relink still reaches the bundle.
  add_custom_target(quorvane-images
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_img_files} ${_resources}
    COMMENT "Copying the editor images into the bundle")
  add_dependencies(${_target} quorvane-images)
endif()

# The macOS bundle laid out here around a placeholder binary, with the resources above
# (build/.../macos-dryrun/Quorvane.vst3); tests/vst3 checks the same layout.
if(NOT APPLE AND NOT WIN32)
  set(QV_MAC_LAYOUT_ARGS ${_mac_layout} -DRESOURCES_DIR=${_resources}
      CACHE INTERNAL "MacBundleLayout.cmake arguments")
  set(_dryrun ${CMAKE_BINARY_DIR}/macos-dryrun)
  file(WRITE ${_dryrun}/placeholder "Stands in for the Mach-O module, which only a Mac builds.\n")
  add_custom_target(quorvane-macos-dryrun
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_dryrun}/${QV_ID_NAME}.vst3
    COMMAND ${CMAKE_COMMAND} ${QV_MAC_LAYOUT_ARGS} -DBUNDLE=${_dryrun}/${QV_ID_NAME}.vst3
            -DEXECUTABLE=${_dryrun}/placeholder -P ${_bundle_src}/MacBundleLayout.cmake
    VERBATIM)
  if(TARGET quorvane-images)
    add_dependencies(quorvane-macos-dryrun quorvane-images)
  endif()
endif()

add_custom_target(install-vst3
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${QV_BUNDLE_DIR} -P ${_bundle_src}/InstallBundle.cmake
  DEPENDS ${_target}
  COMMENT "Installing ${QV_ID_NAME}.vst3 into the user's VST 3 folder")
