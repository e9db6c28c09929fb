#!/usr/bin/env bash
# The plug-ins and the host in folders named outside ASCII, as a user's "Jörg\음악" is: both formats
# load from there and a run writes its output there.
#   unicode_paths.sh BUILD
set -euo pipefail
build=$1
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
dir="$WINEPREFIX/drive_c/users/Jörg/음악"
rm -rf "$dir" && mkdir -p "$dir"
cp -r "$build/Quorvane.vst3" "$build/Quorvane.clap" "$dir/"
win='C:\users\Jörg\음악'
fail=0
for plugin in Quorvane.vst3 Quorvane.clap; do
  if wine "$build/tools/host/quorvane-host.exe" process "$win\\$plugin" --demo 0.25 --set "Threshold=-6" \
       --out "$win\\out-$plugin.wav" >/dev/null && [ -s "$dir/out-$plugin.wav" ]; then
    echo "ok: $plugin loads from and writes into $win"
  else
    echo "FAILED: $plugin in $win"
    fail=1
  fi
done
rm -rf "$WINEPREFIX/drive_c/users/Jörg"
exit $fail
