#!/usr/bin/env bash
# The Windows plug-ins as hosts and Windows see them: the VST 3 DLL exports exactly GetPluginFactory,
# InitDll and ExitDll, the CLAP DLL exactly clap_entry; they and the host program import only
# Windows' own DLLs (the C++ runtime is linked in); both plug-ins carry a version resource with the
# product's version; the bundle's moduleinfo.json names the class id hosts will list.
#   bundles.sh BUILD VERSION CLASS_ID
set -euo pipefail
build=$1 version=$2 cid=$3
objdump=x86_64-w64-mingw32-objdump
vst3=$build/Quorvane.vst3/Contents/x86_64-win/Quorvane.vst3
clap=$build/Quorvane.clap
host=$build/tools/host/quorvane-host.exe
fail=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else
    echo "FAILED: $1"
    echo "  expected: $3"
    echo "  got:      $2"
    fail=1
  fi
}
exports() {
  $objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '$1 ~ /^\[/ && $NF != "Table" { print $NF }' | sort | xargs
}
check "VST 3 exports" "$(exports "$vst3")" "ExitDll GetPluginFactory InitDll"
check "CLAP exports" "$(exports "$clap")" "clap_entry"

# What every Windows since 7 has; no MinGW runtime (libstdc++-6, libgcc_s, libwinpthread-1).
system="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
        shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll windowscodecs.dll winmm.dll"
for f in "$vst3" "$clap" "$host"; do
  foreign=""
  for dll in $($objdump -p "$f" | awk '/DLL Name:/ { print tolower($3) }'); do
    [[ " $(echo $system) " == *" $dll "* ]] || foreign="$foreign $dll"
  done
  check "$(basename "$f") imports only system DLLs" "${foreign# }" ""
done

# VERSIONINFO strings are UTF-16 in the resource section.
for f in "$vst3" "$clap"; do
  strings -el "$f" | grep -qx "$version" && found=yes || found=no
  check "$(basename "$f") carries version $version" "$found" yes
done
grep -q "\"CID\": \"$cid\"" "$build/Quorvane.vst3/Contents/Resources/moduleinfo.json" && found=yes || found=no
check "moduleinfo.json names class $cid" "$found" yes
exit $fail
