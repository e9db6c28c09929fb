#!/usr/bin/env bash
# The run command: release build, install the plug-in into ~/.vst3, process the demo through it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF
cmake --build build/release -j"$jobs"
if cmake --build build/release --target help | grep -q install-vst3; then
  cmake --build build/release --target install-vst3
  build/release/tools/host/quorvane-host process "$HOME/.vst3/Quorvane.vst3" --demo 10 --out build/release/demo-out.wav
else
  echo "run: the plug-in bundle is not built yet; built what exists"
fi
