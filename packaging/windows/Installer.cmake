# `quorvane-installer`: the NSIS setup program around the Windows plug-ins,
# <build>/Quorvane-<version>-win64-setup.exe, made with makensis from the identity (QV_ID_*).
find_program(QV_MAKENSIS makensis)
if(NOT QV_MAKENSIS)
  message(STATUS "makensis not found: no Windows installer (bash scripts/setup.sh installs nsis)")
  return()
endif()
set(QV_INSTALLER ${CMAKE_BINARY_DIR}/${QV_ID_NAME}-${QV_ID_VERSION}-win64-setup.exe
    CACHE INTERNAL "The Windows installer")
set(_nsis ${CMAKE_CURRENT_LIST_DIR})
set(_list ${CMAKE_BINARY_DIR}/packaging/uninstall-files.nsh)
add_custom_target(quorvane-installer
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${QV_BUNDLE_DIR} -DOUT=${_list} -P ${_nsis}/UninstallList.cmake
  COMMAND ${QV_MAKENSIS} -V2 -NOCD
          "-DNAME=${QV_ID_NAME}" "-DVENDOR=${QV_ID_VENDOR}" "-DVERSION=${QV_ID_VERSION}" "-DURL=${QV_ID_URL}"
          "-DDESCRIPTION=${QV_ID_DESCRIPTION}" "-DBUNDLE=${QV_BUNDLE_DIR}" "-DCLAP=${QV_CLAP_FILE}"
          "-DUNINSTALL_LIST=${_list}" "-DOUTFILE=${QV_INSTALLER}" ${_nsis}/Quorvane.nsi
  DEPENDS Quorvane QuorvaneClap ${_nsis}/Quorvane.nsi ${_nsis}/UninstallList.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Making ${QV_ID_NAME}-${QV_ID_VERSION}-win64-setup.exe"
  VERBATIM)
