#!/usr/bin/env bash
# The release command: everything a release page offers, built from this tree into dist/:
#   quorvane_<version>_amd64.deb, quorvane_<version>_arm64.deb   (Debian and Ubuntu)
#   Quorvane-<version>-win64-setup.exe                         (Windows installer)
#   Quorvane-<version>-macOS.zip                               (universal VST 3 and CLAP bundles)
#   SHA256SUMS
# An artefact this machine cannot build (no cross compiler, no NSIS, ...) is left out with one line
# saying why; a build that starts and fails stops the command.
#   --mac-built   take the universal bundles as a macOS check just run left them (the test command
#                 runs the check earlier), instead of running it again
set -euo pipefail
cd "$(dirname "$0")/.."
mac_built=0
for arg in "$@"; do
  case $arg in
    --mac-built) mac_built=1 ;;
    *) echo "usage: scripts/release.sh [--mac-built]" >&2; exit 2 ;;
  esac
done
bash scripts/setup.sh
eval "$(cmake -P packaging/identity.cmake)"
version=$QV_ID_VERSION
jobs=$(nproc)
dist=dist
skipped=()
skip() {
  echo "release: $1 not made: $2"
  skipped+=("$1")
}
if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "release: warning: the tree has uncommitted changes; a release is made from a commit"
fi
rm -rf "$dist"
mkdir -p "$dist"

# The amd64 package, from a Release build of its own: SLEEF comes from the system (the package
# depends on it), the source path is kept out of the binaries, and every flag is set here, so that
# neither the folder nor the environment (CFLAGS, LDFLAGS) changes a byte.
deb_amd64=quorvane_${version}_amd64.deb
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  map="-ffile-prefix-map=$PWD=."
  cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF \
    -DQV_BUNDLE_SLEEF=OFF -DCMAKE_C_FLAGS="$map" -DCMAKE_CXX_FLAGS="$map -D_FORTIFY_SOURCE=2" \
    -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_SHARED_LINKER_FLAGS= -DCMAKE_MODULE_LINKER_FLAGS=
  cmake --build build/package -j"$jobs" --target Quorvane QuorvaneClap quorvane-host
  bash packaging/debian/make-deb.sh amd64 build/package "$dist"
else
  skip "$deb_amd64" "this machine is not amd64"
fi

# The arm64 package, from the cross build.
deb_arm64=quorvane_${version}_arm64.deb
if [ -f scripts/arm64.sh ]; then
  bash scripts/arm64.sh build
  if [ -f "build/arm64/$QV_ID_NAME.clap" ]; then
    bash packaging/debian/make-deb.sh arm64 build/arm64 "$dist"
  else
    skip "$deb_arm64" "scripts/arm64.sh build made no build/arm64 (no aarch64 cross compiler?)"
  fi
else
  skip "$deb_arm64" "this tree has no arm64 build (scripts/arm64.sh)"
fi

# The Windows installer, as the Windows build makes it.
setup=$QV_ID_NAME-$version-win64-setup.exe
if [ -f scripts/windows.sh ]; then
  bash scripts/windows.sh build
  if [ -f "build/win/$setup" ]; then
    cp "build/win/$setup" "$dist/"
  else
    skip "$setup" "scripts/windows.sh build made no build/win/$setup (MinGW-w64 or NSIS missing?)"
  fi
else
  skip "$setup" "this tree has no Windows build (scripts/windows.sh)"
fi

# The macOS archive, from the universal bundles the macOS check links.
mac=$QV_ID_NAME-$version-macOS.zip
[ "$mac_built" -eq 1 ] || bash scripts/macos-check.sh
if [ -d "build/macos/universal/$QV_ID_NAME.vst3" ] && [ -d "build/macos/universal/$QV_ID_NAME.clap" ]; then
  bash packaging/macos/make-zip.sh build/macos/universal "$dist"
else
  skip "$mac" "the macOS check made no universal bundles (build/macos/universal)"
fi

(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | LC_ALL=C sort |
  xargs -r sha256sum >SHA256SUMS)
echo "release: $dist/ holds:"
(cd "$dist" && ls -l --time-style=+ | tail -n +2)
if [ ${#skipped[@]} -gt 0 ]; then
  echo "release: left out on this machine: ${skipped[*]}"
fi
