# What a plug-in DLL needs on Windows, for either format: only the names in its module definition
# file leave it, the editor's images are linked in (nothing is read from disk beside it), and the
# version resource comes from the identity (QV_ID_*).
#   qv_windows_module(TARGET target FORMAT "VST 3" FILE Quorvane.vst3 DEF exports.def IMAGES png...)

function(qv_windows_module)
  cmake_parse_arguments(M "" "TARGET;FORMAT;FILE;DEF" "IMAGES" ${ARGN})
  target_sources(${M_TARGET} PRIVATE ${M_DEF})
  set_property(TARGET ${M_TARGET} APPEND PROPERTY LINK_DEPENDS ${M_DEF})

  set(_embedded ${CMAKE_CURRENT_BINARY_DIR}/${M_TARGET}Images.cpp)
  string(REPLACE ";" "|" _image_arg "${M_IMAGES}")
  set(_embed_script ${PROJECT_SOURCE_DIR}/src/clap/bundle/EmbedImages.cmake)
  add_custom_command(OUTPUT ${_embedded}
    COMMAND ${CMAKE_COMMAND} -DOUT=${_embedded} -DIMAGES=${_image_arg} -DCOFF=ON -P ${_embed_script}
    DEPENDS ${M_IMAGES} ${_embed_script}
    COMMENT "Linking the editor images into ${M_FILE}"
    VERBATIM)
  target_sources(${M_TARGET} PRIVATE ${_embedded})

  set(QV_MODULE_FORMAT ${M_FORMAT})
  set(QV_MODULE_FILE ${M_FILE})
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${M_TARGET}Version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/src/vst3/bundle/VersionInfo.rc.in ${_rc} @ONLY)
  target_sources(${M_TARGET} PRIVATE ${_rc})
endfunction()
