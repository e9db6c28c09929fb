#!/usr/bin/env bash
# The macOS check (QV_MACOS_CHECK), for a product whose platform is never built on this machine.
# 1. Every macOS-only source goes through clang++ -fsyntax-only, so a typo behind __APPLE__ fails
#    here: .mm files as Objective-C++ (manual reference counting) against Debian's GNUstep
#    Foundation and AppKit, C++ sources with an __APPLE__ branch with __APPLE__ defined, both with
#    our stand-in Apple headers (tests/macos/stubs); a source with a 32-bit branch is read again
#    without __LP64__. Linux-only sources (the X11 window, code only behind !__APPLE__) are left out.
# 2. The CMake project is configured as on a Mac and the bundle it would make is checked.
# Nothing is linked; everything it writes goes to a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in clang++ gcc gnustep-config; do
  if ! command -v "$tool" >/dev/null; then
    echo "macos-check: $tool is missing (bash scripts/setup.sh installs it)" >&2
    exit 2
  fi
done

# Debian's GNUstep is built for GCC's Objective-C runtime, whose headers come with GCC. Its include
# folders become system folders, as Apple's frameworks are: their own warnings are not ours.
gnustep=()
for f in $(gnustep-config --objc-flags); do
  case "$f" in
    -I.) ;;
    -I*) gnustep+=(-isystem "${f#-I}") ;;
    -D* | -fconstant-string-class=* | -fobjc-exceptions | -fexceptions | -pthread) gnustep+=("$f") ;;
  esac
done

# The stand-ins come first: our Cocoa umbrella wraps GNUstep's. Every warning fails the check; a
# message no class declares (-Wobjc-method-access) and a selector nothing declares are among them.
common=(-fsyntax-only -std=c++17 -D__APPLE__ -Isrc -isystem tests/macos/stubs -Wall -Wextra -Werror)
objcxx=(-x objective-c++ -fobjc-runtime=gcc -fno-objc-arc -isystem "$(gcc -print-file-name=include)"
        "${gnustep[@]}" -Wundeclared-selector)
cxx=(-x c++)

mapfile -t mm < <(find src tools -name '*.mm' | sort)
mapfile -t cpp < <({
  find src tools -path '*/mac/*' -name '*.cpp'
  grep -rlE --include='*.cpp' --include='*.h' \
    '^[[:space:]]*#[[:space:]]*(ifdef[[:space:]]+__APPLE__|(el)?if[[:space:]](.*[^!])?defined[[:space:]]*\(?[[:space:]]*__APPLE__)' \
    src tools
} | sort -u)

start=$(date +%s%N)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
n=0
run() {
  clang++ "$@" >"$logs/$n.log" 2>&1 || echo "${*: -1}" >"$logs/$n.failed" &
  n=$((n + 1))
  # Two compilers at a time: the machine's cores are shared.
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
}
for f in "${mm[@]}" "${cpp[@]}"; do
  if [[ $f == *.mm ]]; then lang=("${objcxx[@]}"); else lang=("${cxx[@]}"); fi
  run "${common[@]}" "${lang[@]}" "$f"
  if grep -q '__LP64__' "$f"; then run "${common[@]}" "${lang[@]}" -U__LP64__ "$f"; fi
done
wait
cat "$logs"/*.log
failed=$(find "$logs" -name '*.failed' | wc -l)
echo "macos-check: ${#mm[@]} Objective-C++ and ${#cpp[@]} C++ sources, $n compilations, $failed failed"
[ "$failed" -eq 0 ]

# The CMake side: the project configured as on a Mac, with the options the README gives Mac users
# (nothing is built; libpng is Debian's, only to be found). The bundle must come out as hosts and
# the engine expect it.
lib=/usr/lib/$(gcc -print-multiarch)
cfg=$logs/darwin
cmake -S . -B "$cfg" -G "Unix Makefiles" -DCMAKE_SYSTEM_NAME=Darwin -DCMAKE_OSX_ARCHITECTURES=x86_64 \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_TRY_COMPILE_TARGET_TYPE=STATIC_LIBRARY \
  -DQV_TESTS=OFF -DQV_BENCH=OFF -DQV_COMPONENTS="gdi;pix;base;framework;graphics;dsp;vst3;plugin" \
  -DPNG_LIBRARY="$lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR=/usr/include -DZLIB_LIBRARY="$lib/libz.a" \
  >"$logs/darwin.log" 2>&1 || {
  cat "$logs/darwin.log"
  echo "macos-check: the macOS configuration failed"
  exit 1
}
problems=()
link=$cfg/src/plugin/CMakeFiles/Quorvane.dir/link.txt
grep -q -- '-o \.\./\.\./Quorvane\.vst3/Contents/MacOS/Quorvane ' "$link" ||
  problems+=("the module is not linked to Quorvane.vst3/Contents/MacOS/Quorvane")
# The Info.plist CMake writes for the bundle target must be the one the layout script writes, with
# the identifier the engine looks its images up by.
id=$(sed -n 's/^set(QV_ID_BUNDLE_ID "\(.*\)")$/\1/p' src/plugin/QuorvaneIdentity.cmake)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cfg/CMakeCache.txt")
cmake -DBUNDLE="$logs/layout" -DNAME=Quorvane -DIDENTIFIER="$id" -DVERSION="$version" \
  -DINFO_PLIST_IN=src/vst3/bundle/Info.plist.in -P src/vst3/bundle/MacBundleLayout.cmake
diff -u "$logs/layout/Contents/Info.plist" "$cfg/Quorvane.vst3/Contents/Info.plist" >&2 ||
  problems+=("CMake's Info.plist differs from the layout's (identifier '$id')")
make=$cfg/src/graphics/CMakeFiles/qv_graphics_platform.dir/build.make
arc=$(grep -c -- '-fno-objc-arc .* -c .*\.mm$' "$make" || true)
[ "$arc" -eq "${#mm[@]}" ] || problems+=("$arc of ${#mm[@]} .mm files are compiled with -fno-objc-arc")
for p in "${problems[@]}"; do echo "macos-check: $p" >&2; done
ms=$((($(date +%s%N) - start) / 1000000))
printf 'macos-check: macOS configuration, %d problems (%d.%03d s in all)\n' "${#problems[@]}" \
  $((ms / 1000)) $((ms % 1000))
[ "${#problems[@]}" -eq 0 ]
