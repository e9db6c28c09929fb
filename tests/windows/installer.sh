#!/usr/bin/env bash
# The installer under wine: a silent install puts the VST 3 bundle in Common Files\VST3 and the CLAP
# plug-in in Common Files\CLAP and lists the product under Apps & Features; the installed plug-ins
# load; a silent uninstall leaves nothing of them behind, and other plug-ins in those folders stay.
#   installer.sh BUILD SETUP.exe NAME VERSION VENDOR
set -euo pipefail
build=$1 setup=$2 name=$3 version=$4 vendor=$5
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
common=$WINEPREFIX/drive_c/Program\ Files/Common\ Files
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
fail=0
expect() {
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi
}

# Someone else's plug-in already there.
mkdir -p "$common/VST3" "$common/CLAP"
echo other >"$common/CLAP/Other.clap"

# wine returns when the installer's process ends.
wine "$setup" /S
expect "the VST 3 module is installed" "[ -f \"$common/VST3/$name.vst3/Contents/x86_64-win/$name.vst3\" ]"
expect "moduleinfo.json is installed" "[ -f \"$common/VST3/$name.vst3/Contents/Resources/moduleinfo.json\" ]"
expect "the CLAP plug-in is installed" "[ -f \"$common/CLAP/$name.clap\" ]"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r' || true)
expect "Apps & Features lists $name $version by $vendor" \
  "grep -q 'DisplayVersion.*$version' <<<\"\$entry\" && grep -q 'Publisher.*$vendor' <<<\"\$entry\""
uninstaller=$(sed -n 's/.*UninstallString[^"]*"\(.*\)".*/\1/p' <<<"$entry" | head -1)
expect "the uninstaller is registered" "[ -n \"$uninstaller\" ]"
info=$(wine "$build/tools/host/quorvane-host.exe" info 'C:\Program Files\Common Files\VST3\'"$name.vst3" 2>&1 || true)
expect "the installed VST 3 bundle loads" "grep -q 'Audio Module Class' <<<\"\$info\""
info=$(wine "$build/tools/host/quorvane-host.exe" info 'C:\Program Files\Common Files\CLAP\'"$name.clap" 2>&1 || true)
expect "the installed CLAP plug-in loads" "grep -q 'CLAP plug-in' <<<\"\$info\""

# The uninstaller copies itself away and runs from there: wait for its work to be done.
wine "$uninstaller" /S
for _ in $(seq 1 120); do
  [ -e "$common/CLAP/$name.clap" ] || [ -e "$WINEPREFIX/drive_c/Program Files/$vendor" ] || break
  sleep 0.5
done
sleep 1
expect "the VST 3 bundle is gone" "[ ! -e \"$common/VST3/$name.vst3\" ]"
expect "the CLAP plug-in is gone" "[ ! -e \"$common/CLAP/$name.clap\" ]"
expect "another plug-in stays" "[ -f \"$common/CLAP/Other.clap\" ]"
expect "the uninstaller and its folder are gone" "[ ! -e \"$WINEPREFIX/drive_c/Program Files/$vendor\" ]"
expect "Apps & Features no longer lists it" "! wine reg query \"$key\" >/dev/null 2>&1"
rm -f "$common/CLAP/Other.clap"
exit $fail
