# Prints the product's identity as shell assignments, for the packaging scripts:
#   eval "$(cmake -P packaging/identity.cmake)"
include(${CMAKE_CURRENT_LIST_DIR}/../src/plugin/QuorvaneIdentity.cmake)
foreach(_key NAME DESCRIPTION VENDOR URL EMAIL VERSION BUNDLE_ID)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "QV_ID_${_key}='${QV_ID_${_key}}'")
endforeach()
