#!/usr/bin/env bash
# The macOS check (QV_MACOS_CHECK): every macOS-only source is compiled with clang++ -fsyntax-only,
# so a typo behind __APPLE__ fails here although macOS is never built on this machine. .mm files
# are read as Objective-C++ (manual reference counting) against Debian's GNUstep Foundation and
# AppKit; C++ sources with an __APPLE__ branch are read with __APPLE__ defined. Both see our
# stand-in Apple headers (tests/macos/stubs). Sources with a 32-bit branch are read a second time
# without __LP64__. Linux-only sources (the X11 window, code only behind !__APPLE__) are left out.
# Nothing is linked or written.
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
ms=$((($(date +%s%N) - start) / 1000000))
printf 'macos-check: %d Objective-C++ and %d C++ sources, %d compilations, %d failed (%d.%03d s)\n' \
  "${#mm[@]}" "${#cpp[@]}" "$n" "$failed" $((ms / 1000)) $((ms % 1000))
[ "$failed" -eq 0 ]
