#!/usr/bin/env bash
# The run command: release build (tests off), install the plug-in into ~/.vst3 and ~/.clap and quorvane-host
# on the PATH, process the demo through the installed plug-in.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF
cmake --build build/release -j"$jobs"
cmake --build build/release --target install-vst3
cmake --build build/release --target install-clap
# /usr/local/bin as root; without root rights, ~/.local/bin.
if [ "$(id -u)" -eq 0 ]; then
  cmake --install build/release
else
  cmake --install build/release --prefix "$HOME/.local"
fi
# A bus setting that audibly works the demo loop: lower threshold, 3:1, 30 ms attack, make-up.
build/release/tools/host/quorvane-host process "$HOME/.vst3/Quorvane.vst3" --demo 10 \
  --set Threshold=-5 --set Ratio=2 --set "Attack Time=3" --set "Make-Up Gain=4" \
  --out build/release/demo-out.wav
