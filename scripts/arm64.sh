#!/usr/bin/env bash
# Quorvane for 64-bit ARM Linux, cross-built on this machine and run under qemu-user.
#   scripts/arm64.sh build [X86_BUILD]
#     Release build with Debian's aarch64 cross compiler into build/arm64
#     (cmake/toolchains/aarch64-linux-gnu.cmake): Quorvane.vst3/Contents/aarch64-linux/Quorvane.so,
#     Quorvane.clap and tools/host/quorvane-host. With an x86-64 build folder holding Quorvane.vst3
#     (X86_BUILD, else build/release when the run command made it), also the one bundle for both
#     machines, build/arm64/both/Quorvane.vst3 (x86_64-linux and aarch64-linux side by side).
#   scripts/arm64.sh test [X86_BUILD]
#     Also builds the tests and runs every one that needs no X server through qemu-aarch64 (ctest;
#     the toolchain's CMAKE_CROSSCOMPILING_EMULATOR), then renders the demo loop with the arm64
#     quorvane-host through the arm64 VST 3 and CLAP plug-ins (the two formats must agree bit for
#     bit) and with the x86-64 host of X86_BUILD through its plug-ins (arm64 within 1e-9 of it):
#     three settings, 32 and 64 bits, one with the sidechain; and both hosts' editor pictures at
#     100 % and 200 % (under xvfb-run) must be the same files. X86_BUILD defaults to build/release,
#     configured and built as the run command does when missing; the test command passes the
#     folder it has just built. Prints one "skipped" line and succeeds where qemu-aarch64 or the
#     cross compiler is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  build | test) ;;
  *) echo "usage: $0 build|test [X86_BUILD]" >&2; exit 2 ;;
esac
start=$(date +%s)
build=build/arm64
x86=${2:-build/release}
jobs=$(nproc)

missing=""
command -v aarch64-linux-gnu-g++ >/dev/null || missing="the aarch64 cross compiler (g++-aarch64-linux-gnu)"
if [ "$mode" = test ] && [ -z "$missing" ] && ! command -v qemu-aarch64 >/dev/null; then
  missing="qemu-aarch64 (qemu-user)"
fi
if [ -n "$missing" ]; then
  if [ "$mode" = test ]; then
    echo "arm64: skipped: $missing is not installed (bash scripts/setup.sh installs it)"
    exit 0
  fi
  echo "arm64: $missing is not installed (bash scripts/setup.sh installs it)" >&2
  exit 2
fi
if [ ! -f /usr/lib/aarch64-linux-gnu/pkgconfig/libpng.pc ]; then
  echo "arm64: Debian's arm64 libraries are not installed (bash scripts/setup.sh installs them)" >&2
  exit 2
fi

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=OFF -DQV_DISPLAY_TESTS=OFF >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log" >&2; echo "arm64: the configuration failed" >&2; exit 1; }
rm -f "$build.configure.log"
if [ "$mode" = build ]; then
  cmake --build "$build" --target Quorvane QuorvaneClap quorvane-host -j"$jobs"
else
  cmake --build "$build" -j"$jobs"
fi

# One bundle for both machines: each loads the folder named after its own processor.
both=$build/both/Quorvane.vst3
join_bundles() {  # x86-64 build folder
  local from=$1/Quorvane.vst3
  diff -r -x '*-linux' "$from" "$build/Quorvane.vst3" >&2 ||
    { echo "arm64: the x86-64 and arm64 bundles differ beyond their modules" >&2; return 1; }
  rm -rf "$both"
  mkdir -p "$(dirname "$both")"
  cp -R "$build/Quorvane.vst3" "$both"
  cp -R "$from/Contents/x86_64-linux" "$both/Contents/"
}
if [ "$mode" = build ]; then
  if [ -d "$x86/Quorvane.vst3/Contents/x86_64-linux" ]; then join_bundles "$x86"; fi
  echo "arm64: $build/Quorvane.vst3, Quorvane.clap, tools/host/quorvane-host$([ -d "$both" ] && echo ", both/Quorvane.vst3") ($(($(date +%s) - start)) s)"
  exit 0
fi

# --- The tests under qemu ------------------------------------------------------------------------

built=$(date +%s)
ctest --test-dir "$build" -j"$jobs" --output-on-failure
tested=$(date +%s)

# --- The demo through both formats on both machines ----------------------------------------------

if [ ! -f "$x86/CMakeCache.txt" ]; then
  cmake -S . -B "$x86" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null
fi
cmake --build "$x86" --target Quorvane QuorvaneClap quorvane-host -j"$jobs" >/dev/null
join_bundles "$x86"

host_x86=("$x86/tools/host/quorvane-host")
# A sanitizer build's host (the test command's) leaves out the system libraries' known leaks, as the
# tests do.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
host_arm=(qemu-aarch64 -L / "$build/tools/host/quorvane-host")
out=$build/demo
rm -rf "$out"
mkdir -p "$out"
seconds=3
# One rendering; its report stays in a log unless it fails.
render() {
  "$@" >"$out/render.log" 2>&1 || { cat "$out/render.log" >&2; echo "arm64: failed: $*" >&2; exit 1; }
}
# The samples of a WAV file the host wrote, without its header (libsndfile's PEAK chunk carries the
# time of writing).
samples() {
  local at
  at=$(grep -obUa data "$1" | head -1 | cut -d: -f1)
  tail -c +$((at + 9)) "$1"
}
# The largest difference between two float64 files' samples, or "length" when their lengths differ.
largest_difference() {
  paste <(samples "$1" | od -An -v -tf8 -w8) <(samples "$2" | od -An -v -tf8 -w8) |
    awk 'NF != 2 { print "length"; bad = 1; exit } { d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d }
         END { if (!bad) printf "%.3g\n", m }'
}

# A key signal for the sidechain, unlike the program: the demo saturated and filtered by the x86-64
# plug-in, the same file for both machines.
render "${host_x86[@]}" process "$both" --demo "$seconds" --format float64 --precision 64 \
  --set XFormer=1 --set Boost=10 --set HPF=300 --set Threshold=-15 --set Ratio=5 --set "Make-Up Gain=15" \
  --out "$out/key.wav"
scenarios=(
  "bus|--set Threshold=-5 --set Ratio=2 --set Attack_Time=3 --set Make-Up_Gain=4"
  "voicing|--block 100 --set Threshold=-11.25 --set Ratio=5 --set HPF=140 --set Mid_Gain=3 --set HF=-5 --set Compressor_Mix=50 --set Turbo=1 --set Transient_Mix=25 --set Transient_Tilt=0.5 --set XFormer=1 --set Boost=5"
  "sidechain|--sidechain $out/key.wav --set Threshold=-15 --set External_Sidechain=1 --set Ratio=4 --set Release_Time=3"
)
failures=0
for s in "${scenarios[@]}"; do
  name=${s%%|*}
  # Parameter titles with spaces are written with underscores above.
  read -r -a args <<<"${s#*|}"
  args=("${args[@]//_/ }")
  for precision in 32 64; do
    run=(process --demo "$seconds" --precision "$precision" --format float64 "${args[@]}")
    tag=$name-$precision
    render "${host_x86[@]}" "${run[0]}" "$both" "${run[@]:1}" --out "$out/x86-$tag.wav"
    render "${host_arm[@]}" "${run[0]}" "$both" "${run[@]:1}" --out "$out/arm64-vst3-$tag.wav"
    render "${host_arm[@]}" "${run[0]}" "$build/Quorvane.clap" "${run[@]:1}" --out "$out/arm64-clap-$tag.wav"
    same=yes
    cmp -s <(samples "$out/arm64-vst3-$tag.wav") <(samples "$out/arm64-clap-$tag.wav") || same=no
    diff=$(largest_difference "$out/arm64-vst3-$tag.wav" "$out/x86-$tag.wav")
    ok=yes
    if [ "$same" != yes ] || [ "$diff" = length ] || awk -v d="$diff" 'BEGIN { exit !(d > 1e-9) }'; then
      ok=no
      failures=$((failures + 1))
    fi
    echo "arm64: demo, $name, $precision-bit: VST 3 and CLAP identical: $same, largest difference to x86-64: $diff ($ok)"
  done
done

# The editor at 100 % and 200 %, drawn by both hosts from the bundle for both machines under a
# virtual X server: the same picture files, byte for byte (the x86-64 pictures are the ones the
# editor tests compare with the golden images).
shots=$out/editor
mkdir -p "$shots"
render xvfb-run -a -s "-screen 0 1600x1400x24 -noreset" env XDG_CONFIG_HOME="$shots/settings" bash -c '
  set -e
  for scale in 1 2; do
    "$1" editor "$3" --scale "$scale" --snapshot "$4/x86-$scale.png"
    qemu-aarch64 -L / "$2" editor "$3" --scale "$scale" --snapshot "$4/arm64-$scale.png"
  done' _ "${host_x86[0]}" "$build/tools/host/quorvane-host" "$both" "$shots"
for scale in 1 2; do
  same=yes
  cmp -s "$shots/x86-$scale.png" "$shots/arm64-$scale.png" || { same=no; failures=$((failures + 1)); }
  echo "arm64: editor at $((scale * 100)) %: the same picture as x86-64: $same"
done
echo "arm64: built in $((built - start)) s, tests under qemu $((tested - built)) s, demo and editor $(($(date +%s) - tested)) s, $failures failed"
[ "$failures" -eq 0 ]
