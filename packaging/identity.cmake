# The product's identity for the packaging scripts, read from the one place it is written:
#   cmake -P packaging/identity.cmake                  prints it as shell assignments (for eval)
#   cmake -DIN=FILE.in -DOUT=FILE [-DKEY=VALUE]... -P packaging/identity.cmake
#                                                      fills @QV_ID_...@ and @KEY@ in a template
include(${CMAKE_CURRENT_LIST_DIR}/../src/plugin/QuorvaneIdentity.cmake)
if(DEFINED IN)
  configure_file(${IN} ${OUT} @ONLY)
  return()
endif()
foreach(_key NAME DESCRIPTION VENDOR URL EMAIL VERSION BUNDLE_ID)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "QV_ID_${_key}='${QV_ID_${_key}}'")
endforeach()
