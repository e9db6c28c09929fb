# A plug-in's .clap: the plug-in library built on the CLAP adapter and the entry linked into one
# loadable module, plus `install-clap`. On Linux that is one file (the editor's images linked in, the
# vector maths library found beside it); on macOS a bundle laid out by the VST 3 bundle's layout
# script. Product-neutral: it reads the plug-in's identity (the QV_ID_* variables), links
# QV_PLUGIN_CLAP_LIBRARY and embeds QV_PLUGIN_IMAGES. Included from the plug-in folder (after the
# VST 3 bundle) once the CLAP plug-in library exists.

set(QV_CLAP_FILE ${CMAKE_BINARY_DIR}/${QV_ID_NAME}.clap CACHE INTERNAL "The built CLAP plug-in")
set(_clap_src ${CMAKE_CURRENT_LIST_DIR})
set(_vst3_bundle_src ${PROJECT_SOURCE_DIR}/src/vst3/bundle)
set(_clap ${QV_ID_NAME}Clap)

add_library(${_clap} MODULE ${QV_CLAP_MODULE_SOURCES})
target_link_libraries(${_clap} PRIVATE ${QV_PLUGIN_CLAP_LIBRARY} qv_clap)
set_target_properties(${_clap} PROPERTIES
  OUTPUT_NAME ${QV_ID_NAME}
  PREFIX ""
  C_VISIBILITY_PRESET hidden
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

file(GLOB _clap_images CONFIGURE_DEPENDS ${QV_PLUGIN_IMAGES}/*.png)

if(APPLE)
  set_target_properties(${_clap} PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION clap
    LIBRARY_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}>
    MACOSX_BUNDLE_BUNDLE_NAME ${QV_ID_NAME}
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QV_ID_BUNDLE_ID}
    MACOSX_BUNDLE_BUNDLE_VERSION ${QV_ID_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${QV_ID_VERSION}
    MACOSX_BUNDLE_INFO_PLIST ${_vst3_bundle_src}/Info.plist.in)
  target_link_libraries(${_clap} PRIVATE "-framework CoreFoundation")
  target_link_options(${_clap} PRIVATE -Wl,-exported_symbols_list,${_clap_src}/exports_macos.txt)
  add_custom_command(TARGET ${_clap} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNAME=${QV_ID_NAME} -DIDENTIFIER=${QV_ID_BUNDLE_ID} -DVERSION=${QV_ID_VERSION}
            -DINFO_PLIST_IN=${_vst3_bundle_src}/Info.plist.in -DBUNDLE=${QV_CLAP_FILE}
            -P ${_vst3_bundle_src}/MacBundleLayout.cmake
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_CLAP_FILE}/Contents/Resources
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_clap_images} ${QV_CLAP_FILE}/Contents/Resources
    VERBATIM)
elseif(WIN32)
  # One DLL named Quorvane.clap, exporting clap_entry alone, images and version resource inside.
  include(${_vst3_bundle_src}/WindowsModule.cmake)
  set_target_properties(${_clap} PROPERTIES SUFFIX ".clap" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  qv_windows_module(TARGET ${_clap} FORMAT "CLAP" FILE ${QV_ID_NAME}.clap DEF ${_clap_src}/exports.def
                    IMAGES ${_clap_images})
else()
  set(_embedded ${CMAKE_CURRENT_BINARY_DIR}/${QV_ID_NAME}ClapImages.cpp)
  string(REPLACE ";" "|" _image_arg "${_clap_images}")
  add_custom_command(OUTPUT ${_embedded}
    COMMAND ${CMAKE_COMMAND} -DOUT=${_embedded} -DIMAGES=${_image_arg} -P ${_clap_src}/EmbedImages.cmake
    DEPENDS ${_clap_images} ${_clap_src}/EmbedImages.cmake
    COMMENT "Linking the editor images into ${QV_ID_NAME}.clap"
    VERBATIM)
  target_sources(${_clap} PRIVATE ${_embedded})
  set_target_properties(${_clap} PROPERTIES
    SUFFIX ".clap"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    LINK_DEPENDS ${_clap_src}/exports.map)
  # Only clap_entry leaves the module.
  target_link_options(${_clap} PRIVATE -Wl,--version-script=${_clap_src}/exports.map)
  if(NOT QV_FUZZ)
    target_link_options(${_clap} PRIVATE -Wl,-z,defs)
  endif()
  # The vector maths library is looked for beside the plug-in first; the VST 3 bundle's copy
  # serves a plug-in loaded from the build folder.
  if(QV_SLEEF_FILE)
    set_target_properties(${_clap} PROPERTIES
      BUILD_RPATH "\$ORIGIN:\$ORIGIN/${QV_ID_NAME}.vst3/Contents/${_arch}-linux" INSTALL_RPATH "\$ORIGIN")
  endif()
endif()

add_custom_target(install-clap
  COMMAND ${CMAKE_COMMAND} -DPLUGIN=${QV_CLAP_FILE} -DSLEEF=${QV_SLEEF_FILE} -P ${_clap_src}/InstallClap.cmake
  DEPENDS ${_clap}
  COMMENT "Installing ${QV_ID_NAME}.clap into the user's CLAP folder")
