#!/usr/bin/env bash
# Quorvane for Windows x64, cross-built here with MinGW-w64 (cmake/toolchains/mingw-w64-x86_64.cmake).
#   build: the release artefacts in build/win: Quorvane.vst3 (the bundle), Quorvane.clap,
#          quorvane-host.exe and Quorvane-<version>-win64-setup.exe (NSIS).
#   test:  build, then every Windows test under wine (prefix build/win/wineprefix): the unit tests,
#          the bundles' exports and imports, non-ASCII folders, the installer, and the host's output
#          through both Windows formats against the Linux build's (LINUX_BUILD, default build/debug;
#          a small Linux build is made in build/win-linux when that has no host).
# Prints one "skipped: ..." line and succeeds where MinGW-w64, makensis or (for test) wine is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  build | test) ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac
needed=(x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-objdump makensis)
[ "$mode" = test ] && needed+=(wine wineserver)
for tool in "${needed[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: Windows build and tests ($tool is missing; bash scripts/setup.sh installs it)"
    exit 0
  fi
done
start=$(date +%s)
jobs=$(nproc)
out=build/win
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-$(command -v ccache || true)}

linux=""
if [ "$mode" = test ]; then
  linux=${LINUX_BUILD:-build/debug}
  if [ ! -x "$linux/tools/host/quorvane-host" ] || [ ! -d "$linux/Quorvane.vst3" ]; then
    linux=build/win-linux
    cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF >/dev/null
    cmake --build "$linux" --target quorvane-host Quorvane QuorvaneClap -j"$jobs"
  fi
  linux=$(cd "$linux" && pwd)
fi

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=OFF -DQV_TESTS=$([ "$mode" = test ] && echo ON || echo OFF) \
  -DQV_LINUX_BUILD="$linux" >/dev/null
if [ "$mode" = test ]; then
  cmake --build "$out" -j"$jobs"
else
  cmake --build "$out" --target Quorvane QuorvaneClap quorvane-host -j"$jobs"
fi
cmake --build "$out" --target quorvane-installer
cp "$out/tools/host/quorvane-host.exe" "$out/quorvane-host.exe"
built=$(date +%s)
echo "windows: built in $((built - start)) s:"
ls -l "$out/Quorvane.vst3/Contents/x86_64-win/Quorvane.vst3" "$out/Quorvane.clap" "$out/quorvane-host.exe" \
  "$out"/Quorvane-*-win64-setup.exe | awk '{ printf "  %10d  %s\n", $5, $9 }'
[ "$mode" = build ] && exit 0

# One wine prefix for every test, made before they start (its first start takes a while).
export WINEPREFIX=$PWD/$out/wineprefix WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
# The server stays up between the programs: a new one starting as the last one quits loses clients.
wineserver -p 2>/dev/null || true
# A program that wine fails to start (rarely: a lost connection to the server, or a start that never
# returns) gets one more run; a test that fails twice fails the run.
status=0
# The Win32 window's own test draws on an X server (wine's); without one its cases skip.
display=()
command -v xvfb-run >/dev/null && display=(xvfb-run -a -s "-screen 0 1600x1400x24 -noreset")
"${display[@]}" ctest --test-dir "$out" --output-on-failure -j"$jobs" --repeat until-pass:2 || status=$?
wineserver -k 2>/dev/null || true
# The editor as users see it: pictures against the goldens, a knob dragged with XTest.
bash scripts/windows-editor-test.sh "$out" || status=$?
echo "windows: tests under wine took $(($(date +%s) - built)) s (build and tests $(($(date +%s) - start)) s)"
exit $status
