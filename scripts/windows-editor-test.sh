#!/usr/bin/env bash
# The Windows editor under wine, on a virtual X screen: the VST 3 editor's first picture at 100 %
# and 200 % equals the Linux goldens pixel for pixel, and a knob dragged with synthetic pointer
# input (XTest, through xdotool) changes its parameter, as the host reads it back.
#
# usage: scripts/windows-editor-test.sh [BUILD_DIR]   (default build/win; its quorvane-host.exe and
# Quorvane.vst3 must be built). Prints one "skipped: ..." line and exits 0 when wine, Xvfb,
# xdotool or python3 is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win}

for tool in wine xvfb-run xdotool python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: Windows editor tests ($tool is missing)"
    exit 0
  fi
done
host=$build/quorvane-host.exe
# A development build keeps the host where CMake puts it.
[[ -f $host ]] || host=$build/tools/host/quorvane-host.exe
if [[ ! -f $host || ! -d $build/Quorvane.vst3 ]]; then
  echo "Windows editor tests: $build/quorvane-host.exe and $build/Quorvane.vst3 must be built first" >&2
  exit 1
fi

# Everything below runs once more inside a virtual screen of its own.
if [[ ${QV_WINE_EDITOR_INNER:-} != 1 ]]; then
  exec env QV_WINE_EDITOR_INNER=1 xvfb-run -a -s "-screen 0 1600x1400x24 -noreset" bash "$0" "$build"
fi

export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all
bundle=$build/Quorvane.vst3
work=$(mktemp -d "$build/editor-test.XXXXXX")
host_pid=""
finish() {
  if [[ -n $host_pid ]]; then kill "$host_pid" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
# A wine server kept running from before this screen existed may hold a desktop without it.
wineserver -k 2>/dev/null || true
# A size chosen in the editor's menu would win over --scale: none is remembered here.
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvane/editor.conf
failures=0
check() {  # name, then the command that must succeed
  local name=$1
  shift
  if "$@"; then echo "ok: $name"; else echo "FAILED: $name"; failures=$((failures + 1)); fi
}

# ---- Pictures ----------------------------------------------------------------------------------
snapshot() {  # scale, golden
  local out=$work/editor-$1.png
  wine "$host" editor "$bundle" --scale "$1" --snapshot "$out" >/dev/null &&
    python3 tests/windows/png_compare.py "$out" "tests/tools/data/$2"
}
check "the 100 % editor equals tests/tools/data/editor.png" snapshot 1 editor.png
check "the 200 % editor equals tests/tools/data/editor@2x.png" snapshot 2 editor@2x.png
clap_snapshot() {
  wine "$host" editor "$build/Quorvane.clap" --snapshot "$work/clap.png" >/dev/null &&
    python3 tests/windows/png_compare.py "$work/clap.png" tests/tools/data/editor.png
}
check "the CLAP editor (win32 gui api) equals tests/tools/data/editor.png" clap_snapshot

# ---- A knob drag and the size menu, in one editor -------------------------------------------------
# The make-up knob: 92 x 92 at (252, 272) of the 100 % layout; the logo's size menu at (533, 78).
knob_x=$((252 + 46)) knob_y=$((272 + 46))
window=""
open_editor() {
  wine "$host" editor "$bundle" --scale 1 >"$work/edits.txt" 2>"$work/host.log" &
  host_pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quorvane$' | head -n 1) || return 1
  # The editor's first picture shows once the window is mapped; give it a few frames.
  sleep 2
}
drag_knob() {
  [[ -n $window ]] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local x=$((X + knob_x)) y=$((Y + knob_y))
  xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1
  for step in 1 2 3 4 5 6; do xdotool mousemove "$x" $((y - 20 * step)) sleep 0.05; done
  xdotool mouseup 1
  local waited=0
  until grep -q '^edited' "$work/edits.txt" || ((waited >= 100)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  # Windows writes its lines with carriage returns.
  tr -d '\r' <"$work/edits.txt"
  # Make-up gain starts at its lowest (normalized 0); the drag up must have raised it.
  tr -d '\r' <"$work/edits.txt" |
    grep -Eq '^edited "Make-Up Gain" \(id 4\) = .* \(normalized (0\.0*[1-9][0-9]*|1\.0+)\)$'
}
choose_150() {
  [[ -n $window ]] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 533)) $((Y + 78)) sleep 0.3 click 1 sleep 1.5
  # The system's menu, from the keyboard: 100 %, 125 %, 150 %.
  xdotool key Down sleep 0.2 key Down sleep 0.2 key Down sleep 0.2 key Return sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "window $WIDTH x $HEIGHT after choosing 150 %"
  [[ $WIDTH == 996 && $HEIGHT == 993 ]] &&
    tr -d '\r' <"$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvane/editor.conf)" | grep -qx 'scale=1.5'
}
open_editor || echo "the editor's window did not show"
check "a knob dragged with XTest changes its parameter" drag_knob
check "the size menu resizes the host's window and remembers the size in %APPDATA%" choose_150
if [[ -n $host_pid ]]; then
  kill "$host_pid" 2>/dev/null || true
  wait "$host_pid" 2>/dev/null || true
  host_pid=""
fi
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvane/editor.conf

if ((failures > 0)); then
  echo "$failures Windows editor test(s) failed"
  exit 1
fi
echo "Windows editor tests passed"
