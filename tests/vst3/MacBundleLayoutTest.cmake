# The macOS bundle laid out around a placeholder binary, then checked the way a host and the
# engine read it: the tree, Info.plist's keys (the identifier is the one the engine finds its images
# by), PkgInfo, and every editor image in Resources.
# Run by ctest with the layout's own arguments plus LAYOUT, BUNDLE and IMAGES.
file(REMOVE_RECURSE ${BUNDLE})
set(EXECUTABLE ${BUNDLE}.placeholder)
file(WRITE ${EXECUTABLE} "placeholder\n")
include(${LAYOUT})

set(_errors "")
macro(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    string(APPEND _errors "\n  ${what}: '${actual}', expected '${expected}'")
  endif()
endmacro()

file(GLOB _contents RELATIVE ${BUNDLE}/Contents ${BUNDLE}/Contents/*)
list(SORT _contents)
expect("Contents" "${_contents}" "Info.plist;MacOS;PkgInfo;Resources")
file(GLOB _macos RELATIVE ${BUNDLE}/Contents/MacOS ${BUNDLE}/Contents/MacOS/*)
expect("Contents/MacOS" "${_macos}" "${NAME}")

file(GLOB _want RELATIVE ${IMAGES} ${IMAGES}/*.png)
list(LENGTH _want _n)
# The 18 film strips, the faceplate at 2x and the buttons' legend glyphs.
expect("editor images in the source tree" "${_n}" "20")
list(APPEND _want moduleinfo.json)
list(SORT _want)
file(GLOB _have RELATIVE ${BUNDLE}/Contents/Resources ${BUNDLE}/Contents/Resources/*)
list(SORT _have)
expect("Contents/Resources" "${_have}" "${_want}")

file(READ ${BUNDLE}/Contents/Info.plist _plist)
if(_plist MATCHES "[$@][{A-Z]")
  string(APPEND _errors "\n  Info.plist keeps an unexpanded variable")
endif()
string(REGEX MATCHALL "<key>[^<]*</key>[ \t\r\n]*<string>[^<]*</string>" _pairs "${_plist}")
foreach(_p ${_pairs})
  string(REGEX REPLACE "<key>([^<]*)</key>[ \t\r\n]*<string>([^<]*)</string>" "\\1" _k "${_p}")
  string(REGEX REPLACE "<key>([^<]*)</key>[ \t\r\n]*<string>([^<]*)</string>" "\\2" _v "${_p}")
  set(_plist_${_k} "${_v}")
endforeach()

expect("CFBundleIdentifier" "${_plist_CFBundleIdentifier}" "${IDENTIFIER}")
expect("CFBundleExecutable" "${_plist_CFBundleExecutable}" "${_macos}")
expect("CFBundleName" "${_plist_CFBundleName}" "${NAME}")
expect("CFBundlePackageType" "${_plist_CFBundlePackageType}" "BNDL")
expect("CFBundleVersion" "${_plist_CFBundleVersion}" "${VERSION}")
expect("CFBundleShortVersionString" "${_plist_CFBundleShortVersionString}" "${VERSION}")
file(READ ${BUNDLE}/Contents/PkgInfo _pkginfo)
expect("PkgInfo" "${_pkginfo}" "${_plist_CFBundlePackageType}${_plist_CFBundleSignature}")

if(_errors)
  message(FATAL_ERROR "macOS bundle layout:${_errors}")
endif()
message(STATUS "macOS bundle layout: ${BUNDLE} is complete")
