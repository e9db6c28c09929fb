#!/usr/bin/env bash
# quorvane-host.exe process through the Windows VST 3 and CLAP plug-ins, under wine, against the
# Linux build's host and plug-ins for the same input and settings: three setting scenarios (one
# with the external sidechain), 32 and 64-bit processing. The two Windows formats must agree bit
# for bit; Windows and Linux within 1e-9 (the C libraries' logarithms differ in the last bits).
#   process_equivalence.sh WIN_BUILD LINUX_BUILD OUT_DIR      (exit 77: no Linux build to compare with)
set -eEuo pipefail
win=$1 linux=$2 out=$3
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$win/wineprefix}
linux_host=$linux/tools/host/quorvane-host
if [ -z "$linux" ] || [ ! -x "$linux_host" ] || [ ! -d "$linux/Quorvane.vst3" ]; then
  echo "skipped: no Linux build with quorvane-host and the plug-ins to compare with ($linux)"
  exit 77
fi
win_host=$win/tools/host/quorvane-host.exe
rm -rf "$out" && mkdir -p "$out"
# The hosts' own messages go to a log, shown when a run fails.
trap 'echo "a host run failed; its messages:"; cat "$out/host.log"' ERR

# Little-endian doubles of a float64 WAV file's data chunk, one per line.
samples() {
  local off
  off=$(LC_ALL=C grep -obUa data "$1" | head -1 | cut -d: -f1)
  od -An -v -t f8 -j $((off + 8)) "$1" | tr -s ' ' '\n' | grep -v '^$'
}
# The largest difference between two files' samples; fails past the tolerance or on other lengths.
compare() {
  paste <(samples "$1") <(samples "$2") | awk -v tol="$3" -v what="$4" '
    NF != 2 { print what ": the files differ in length"; bad = 1; exit 1 }
    { d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d; n++ }
    END { if (bad) exit 1; printf "%s: %d samples, largest difference %.3g\n", what, n, m; exit !(n > 0 && m <= tol) }'
}

# The sidechain signal: the demo through the Linux plug-in, a signal other than the input.
"$linux_host" process "$linux/Quorvane.vst3" --demo 1 --set "Threshold=-15" --set "Make-Up Gain=6" \
  --format float64 --out "$out/sidechain.wav" >/dev/null 2>>"$out/host.log"

fail=0
scenario() {
  local name=$1 precision tag
  shift
  for precision in 32 64; do
    tag=$name-$precision
    local common=(--demo 1 --precision "$precision" --format float64 "$@")
    "$linux_host" process "$linux/Quorvane.vst3" "${common[@]}" --out "$out/$tag-linux.wav" >/dev/null 2>>"$out/host.log"
    wine "$win_host" process "$win/Quorvane.vst3" "${common[@]}" --out "$out/$tag-vst3.wav" >/dev/null 2>>"$out/host.log"
    wine "$win_host" process "$win/Quorvane.clap" "${common[@]}" --out "$out/$tag-clap.wav" >/dev/null 2>>"$out/host.log"
    if cmp -s "$out/$tag-vst3.wav" "$out/$tag-clap.wav"; then
      echo "$tag: Windows VST 3 and CLAP outputs are identical"
    else
      compare "$out/$tag-vst3.wav" "$out/$tag-clap.wav" 0 "$tag: Windows VST 3 against CLAP" || true
      fail=1
    fi
    compare "$out/$tag-vst3.wav" "$out/$tag-linux.wav" 1e-9 "$tag: Windows against Linux" || fail=1
  done
}
deep=(--set "Threshold=-9" --set "Ratio=3" --set "Attack Time=2" --set "Release Time=1" --set "Make-Up Gain=4"
      --set "Turbo=1" --set "XFormer=1" --set "Transient Mix=30")
scenario defaults
scenario deep "${deep[@]}"
scenario sidechain --sidechain "$out/sidechain.wav" --set "External Sidechain=1" --set "Threshold=-12" \
  --set "Ratio=5" --set "Compressor Mix=80"

# Saved settings move between systems: the same settings save the same bytes (the host's file
# around them names the class by its in-memory identifier, whose byte order is the system's).
"$linux_host" process "$linux/Quorvane.vst3" --demo 0.1 "${deep[@]}" --state-out "$out/linux.state" \
  --out "$out/state-linux.wav" >/dev/null 2>>"$out/host.log"
wine "$win_host" process "$win/Quorvane.vst3" --demo 0.1 "${deep[@]}" --state-out "$out/windows.state" \
  --out "$out/state-windows.wav" >/dev/null 2>>"$out/host.log"
if cmp -s <(head -c 8 "$out/linux.state"; tail -c +25 "$out/linux.state") \
  <(head -c 8 "$out/windows.state"; tail -c +25 "$out/windows.state"); then
  echo "state: Linux and Windows save the same settings bytes ($(stat -c %s "$out/linux.state")-byte file)"
else
  echo "state: Linux and Windows save different settings bytes"
  fail=1
fi
exit $fail
