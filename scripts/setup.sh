#!/usr/bin/env bash
# Installs the Debian packages Quorvane builds and tests with. Idempotent: only missing packages are
# fetched, and the package lists are refreshed once, only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra libx11-dev libxext-dev
  libxtst-dev xvfb xauth x11-utils
  libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsleef-dev
  lintian zip unzip
  clang gnustep-make libgnustep-base-dev libgnustep-gui-dev
  clang-14 libclang-rt-14-dev
  lld-14 llvm-14 libc++-14-dev libc++abi-14-dev
  qtractor jackd2 xdotool
  g++-aarch64-linux-gnu qemu-user
  g++-mingw-w64-x86-64-posix wine wine64 nsis googletest
  # The Windows editor test compares PNG pictures with Python's standard library.
  python3
)
# Debian's arm64 libraries beside the machine's own (multiarch), for the arm64 cross build.
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  packages+=(libpng-dev:arm64 zlib1g-dev:arm64 libfreetype-dev:arm64 libfontconfig-dev:arm64 libx11-dev:arm64
             libsndfile1-dev:arm64 libgtest-dev:arm64)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  # A fresh machine often runs its own apt job at first: wait for its lock instead of failing.
  lock=(-o DPkg::Lock::Timeout=600)
  if [[ " ${missing[*]}" == *:arm64* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    $SUDO dpkg --add-architecture arm64
  fi
  $SUDO apt-get "${lock[@]}" update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${lock[@]}" install -y "${missing[@]}"
fi
