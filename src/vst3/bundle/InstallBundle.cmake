# Copies the built bundle into the user's VST 3 folder, replacing an older copy whole so that no
# stale file of a previous build survives. Run with -DBUNDLE=<path to Quorvane.vst3>.
if(NOT BUNDLE OR NOT IS_DIRECTORY "${BUNDLE}")
  message(FATAL_ERROR "install-vst3: no bundle at '${BUNDLE}'")
endif()
if(CMAKE_HOST_APPLE)  # script mode: the machine installing is the host
  set(_dest "$ENV{HOME}/Library/Audio/Plug-Ins/VST3")
else()
  set(_dest "$ENV{HOME}/.vst3")
endif()
get_filename_component(_name "${BUNDLE}" NAME)
file(MAKE_DIRECTORY "${_dest}")
file(REMOVE_RECURSE "${_dest}/${_name}")
file(COPY "${BUNDLE}" DESTINATION "${_dest}")
message(STATUS "install-vst3: ${_dest}/${_name}")
