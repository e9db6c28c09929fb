#!/usr/bin/env bash
# The test command: the code style, the macOS build (compiled and linked against stubs), the
# thread-safety tests under ThreadSanitizer, a short run of every fuzzer, then a sanitizer build
# (ASan + UBSan) of everything, benchmarks included so they keep compiling, every test through
# ctest under a virtual X server, and the arm64 Linux build's tests under qemu.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# One style for every source (clang-format, a second or two).
bash scripts/format-check.sh
# The plug-in built for macOS x86-64 and arm64 and its universal bundles linked against a stub SDK,
# with self-tests (about two minutes of processor time; build/macos keeps the objects between runs).
bash scripts/macos-check.sh
jobs=$(nproc)
# The thread tests under ThreadSanitizer, in a small build of their own (TSan cannot share a build
# with ASan): the editor's audio-thread versus UI-thread test, and the plug-in's process, controller,
# state and drawing threads at once.
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=thread -DQV_BENCH=OFF \
  -DQV_COMPONENTS="gdi;pix;base;framework;graphics;dsp;vst3;plugin;tools"
cmake --build build/tsan --target graphics_EngineConcurrencyTest plugin_QuorvaneThreadStressTest -j"$jobs"
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/graphics/graphics_EngineConcurrencyTest
(cd tests && TSAN_OPTIONS=halt_on_error=1 ../build/tsan/tests/plugin/plugin_QuorvaneThreadStressTest)
# Every fuzzer for a few seconds over its seeds and committed findings (clang, build/fuzz).
bash scripts/fuzz.sh 3
cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON
cmake --build build/debug -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The editor tests open windows: they run against a virtual X server of their own.
xvfb-run -a -s "-screen 0 1600x1400x24 -noreset" ctest --test-dir build/debug --output-on-failure -j"$jobs"
# Linux arm64: the cross build's tests under qemu, and the demo through its VST 3 and CLAP plug-ins
# compared with the x86-64 plug-ins just built (a few minutes; one line and no failure without qemu
# or the cross compiler).
bash scripts/arm64.sh test build/debug
# Windows x64: cross-built with MinGW-w64 and tested under wine, against build/debug's output
# (one skip line where MinGW-w64, makensis or wine is missing).
bash scripts/windows.sh test
# The release as users install it: scripts/release.sh makes the packages, the installer and the
# archive in dist/ (a Release build in build/package; the other builds are those of the steps above,
# the macOS check's included), then each is checked, installed and removed.
bash scripts/release.sh --mac-built
bash tests/release/ReleaseTest.sh
