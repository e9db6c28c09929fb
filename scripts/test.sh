#!/usr/bin/env bash
# The test command: sanitizer build (ASan + UBSan) of everything, benchmarks included so they keep
# compiling, then every test through ctest under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON
cmake --build build/debug -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The editor tests open windows: they run against a virtual X server of their own.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build/debug --output-on-failure -j"$jobs"
