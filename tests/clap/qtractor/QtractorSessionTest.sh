#!/usr/bin/env bash
# Quorvane.clap in a real CLAP host: Qtractor opens a session with the plug-in on an audio track
# (JACK on its dummy driver, the ALSA sequencer stood in for), the plug-in's editor is opened with a
# double click on its entry, the Make-Up knob is dragged with synthetic pointer input, the session
# is saved, and the saved file must hold the new value.
# Usage: QtractorSessionTest.sh PATH/Quorvane.clap   (needs an X display with XTest: xvfb-run)
# Exits 77 (skipped) without a display or without the host's programs.
set -euo pipefail
for tool in qtractor jackd jack_lsp xdotool gcc python3; do
  command -v "$tool" >/dev/null || { echo "qtractor: $tool is missing, skipped"; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "qtractor: no X display, skipped"; exit 77; }
plugin=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=qv$$
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  sleep 0.5
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "qtractor: $*" >&2
  [ -f "$work/qtractor.log" ] && tail -n 20 "$work/qtractor.log" >&2
  echo "0 passed, 1 failed"
  exit 1
}
# Polls a command for up to $1 seconds.
waitfor() {
  local t=$1
  shift
  for _ in $(seq $((t * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

gcc -shared -fPIC -O1 -o "$work/seqstub.so" "$here/AlsaSeqStub.c"
sed "s|@PLUGIN@|$plugin|" "$here/session.qtr.in" >"$work/session.qtr"
export JACK_DEFAULT_SERVER=$server HOME=$work XDG_CONFIG_HOME=$work/config
jackd -n "$server" -d dummy -r 48000 -p 512 >"$work/jack.log" 2>&1 &
pids+=($!)
waitfor 10 jack_lsp -s "$server" || fail "JACK did not start"
# Qtractor waits for a server that has run for a while.
sleep 3
# A plug-in built with the address sanitizer needs its runtime loaded first.
preload=$work/seqstub.so
asan=$(ldd "$plugin" | awk '/libasan/ {print $3}')
if [ -n "$asan" ]; then
  preload="$asan $preload"
  export ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0
fi
LD_PRELOAD=$preload qtractor "$work/session.qtr" >"$work/qtractor.log" 2>&1 &
qt=$!
pids+=($qt)
waitfor 30 xdotool search --name "Qtractor$" || fail "no main window"
main=$(xdotool search --name "Qtractor$" | head -1)
xdotool windowmove "$main" 0 0
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
# The plug-in's entry in the first track's plug-in list, right of the track name.
entry() { xdotool search --name "^Quorvane"; }
for _ in 1 2 3 4 5; do
  sleep 1
  xdotool mousemove $((X + 183)) $((Y + 180)) click --repeat 2 --delay 80 1
  waitfor 3 entry && break
done
[ -n "${QV_QTRACTOR_SHOT:-}" ] && import -window root "$QV_QTRACTOR_SHOT"
editor=$(entry | head -1) || fail "the editor did not open"
[ -n "$editor" ] || fail "the editor did not open"
eval "$(xdotool getwindowgeometry --shell "$editor")"
sleep 1
# The Make-Up knob's centre in the editor, dragged upwards.
kx=$((X + 298))
ky=$((Y + 318))
xdotool mousemove "$kx" "$ky"
sleep 0.2
xdotool mousedown 1
for i in 1 2 3 4 5 6; do
  xdotool mousemove "$kx" $((ky - 10 * i))
  sleep 0.1
done
xdotool mouseup 1
sleep 1
kill -USR1 "$qt"
waitfor 10 grep -q "Make-Up Gain" "$work/session.qtr" || fail "the session was not saved"
sleep 0.5
python3 - "$work/session.qtr" <<'PY' || fail "the saved session does not hold the edit"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
params = {p.get("name"): float(p.text) for p in root.iter("param")}
value = params.get("Make-Up Gain")
print(f"qtractor: saved Make-Up Gain = {value}")
sys.exit(0 if value is not None and value > 0.5 else 1)
PY
echo "1 passed, 0 failed"
