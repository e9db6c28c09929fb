#!/usr/bin/env bash
# The macOS check (QV_MACOS_CHECK), for a product whose platform is never built on this machine.
# 1. Every macOS-only source goes through clang++ -fsyntax-only, so a typo behind __APPLE__ fails
#    here: .mm files as Objective-C++ (manual reference counting) against Debian's GNUstep
#    Foundation and AppKit, C++ sources with an __APPLE__ branch with __APPLE__ defined, both with
#    our stand-in Apple headers (tests/macos/stubs); a source with a 32-bit branch is read again
#    without __LP64__. Linux-only sources (the X11 window, code only behind !__APPLE__) are left out.
# 2. The plug-in is built twice (tests/macos/toolchain.cmake): for x86_64-apple-macosx10.13
#    (build/macos) and for arm64-apple-macos11, Apple Silicon (build/macos/arm64). Every source of
#    its CMake targets becomes a Mach-O object, and each bundle is linked with LLVM's Mach-O linker
#    and -all_load against a stub SDK (tests/macos/sdk: Apple-shaped C headers and text stubs of the
#    libraries and frameworks, for both architectures). llvm-lipo joins the two modules into the
#    universal Quorvane.vst3 and Quorvane.clap (build/macos/universal). Each slice must be a Mach-O
#    bundle for its system exporting exactly the module's entry points and loading nothing but the
#    system's libraries; the arm64 slice must be signed (ad hoc), as Apple Silicon requires.
# 3. Self-tests: faults only the link step can see must fail it, for both architectures
#    (--self-test runs these alone).
set -euo pipefail
cd "$(dirname "$0")/.."
self_test_only=0
case "${1:-}" in
  --self-test) self_test_only=1 ;;
  "") ;;
  *) echo "usage: $0 [--self-test]" >&2; exit 2 ;;
esac

for tool in clang++ gcc gnustep-config clang++-14 ld64.lld-14 llvm-nm-14 llvm-objdump-14 llvm-ar-14 llvm-lipo-14 cmake; do
  if ! command -v "$tool" >/dev/null; then
    echo "macos-check: $tool is missing (bash scripts/setup.sh installs it)" >&2
    exit 2
  fi
done
start=$(date +%s%N)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
elapsed() {
  local ms=$((($(date +%s%N) - start) / 1000000))
  printf '%d.%03d s' $((ms / 1000)) $((ms % 1000))
}

# --- 1. Every macOS source through the compiler -------------------------------------------------

syntax_check() {
  # Debian's GNUstep is built for GCC's Objective-C runtime, whose headers come with GCC. Its
  # include folders become system folders, as Apple's frameworks are: their warnings are not ours.
  local gnustep=() f
  for f in $(gnustep-config --objc-flags); do
    case "$f" in
      -I.) ;;
      -I*) gnustep+=(-isystem "${f#-I}") ;;
      -D* | -fconstant-string-class=* | -fobjc-exceptions | -fexceptions | -pthread) gnustep+=("$f") ;;
    esac
  done

  # The stand-ins come first: our Cocoa umbrella wraps GNUstep's. Every warning fails the check; a
  # message no class declares (-Wobjc-method-access) and a selector nothing declares are among them.
  local common=(-fsyntax-only -std=c++17 -D__APPLE__ -DQV_OBJC_SUFFIX=_vQuorvane_vst3 -Isrc -Itools -isystem tests/macos/stubs -Wall -Wextra -Werror)
  local objcxx=(-x objective-c++ -fobjc-runtime=gcc -fno-objc-arc -isystem "$(gcc -print-file-name=include)"
                "${gnustep[@]}" -Wundeclared-selector)
  local cxx=(-x c++) mm cpp
  mapfile -t mm < <(find src tools -name '*.mm' | sort)
  mapfile -t cpp < <({
    find src tools -path '*/mac/*' -name '*.cpp'
    grep -rlE --include='*.cpp' --include='*.h' \
      '^[[:space:]]*#[[:space:]]*(ifdef[[:space:]]+__APPLE__|(el)?if[[:space:]](.*[^!])?defined[[:space:]]*\(?[[:space:]]*__APPLE__)' \
      src tools
  } | sort -u)

  local out=$logs/syntax n=0 lang
  mkdir -p "$out"
  run() {
    clang++ "$@" >"$out/$n.log" 2>&1 || echo "${*: -1}" >"$out/$n.failed" &
    n=$((n + 1))
    # Two compilers at a time: the machine's cores are shared.
    while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  }
  for f in "${mm[@]}" "${cpp[@]}"; do
    if [[ $f == *.mm ]]; then lang=("${objcxx[@]}"); else lang=("${cxx[@]}"); fi
    # A header is checked on its own, as the main file.
    if [[ $f == *.h ]]; then lang+=(-Wno-pragma-once-outside-header); fi
    run "${common[@]}" "${lang[@]}" "$f"
    if grep -q '__LP64__' "$f"; then run "${common[@]}" "${lang[@]}" -U__LP64__ "$f"; fi
  done
  wait
  cat "$out"/*.log
  local failed
  failed=$(find "$out" -name '*.failed' | wc -l)
  echo "macos-check: ${#mm[@]} Objective-C++ and ${#cpp[@]} C++ sources, $n compilations, $failed failed ($(elapsed))"
  [ "$failed" -eq 0 ]
}

# --- 2. The bundle built and linked as on a Mac -------------------------------------------------

# What the bundle may export: the module's entry points, nothing else (Mach-O names).
expected_exports=(_GetPluginFactory _bundleEntry _bundleExit)
# The CLAP bundle's module exports its entry alone.
expected_clap_exports=(_clap_entry)

sdk_src=tests/macos/sdk
build=build/macos
# The arm64 slice's build lives inside the x86_64 one, so both stay cached between runs.
arm=$build/arm64
universal=$build/universal
sdk=$PWD/$build/sdk

# The stub SDK in the layout clang and ld64.lld look for: our headers and hand-written stubs
# (linked, not copied, so nothing is rebuilt or relinked when they are unchanged), frameworks as
# X.framework/Versions/<v>/X.tbd with the Current and top-level links, and the C++ library's stubs
# made from the exports of Debian's libc++ 14, whose std::__1 ABI the Mac's libc++ shares.
assemble_sdk() {
  local t name ver fw lib
  mkdir -p "$sdk/usr/lib" "$sdk/System/Library/Frameworks"
  ln -sfn "$PWD/$sdk_src/usr/include" "$sdk/usr/include"
  for t in "$sdk_src"/usr/lib/*.tbd; do ln -sfn "$PWD/$t" "$sdk/usr/lib/${t##*/}"; done
  for t in "$sdk_src"/frameworks/*.tbd; do
    name=$(basename "$t" .tbd)
    ver=$(sed -n "s#^install-name: *'/System/Library/Frameworks/$name\.framework/Versions/\([A-Z]\)/$name'\$#\1#p" "$t")
    [ -n "$ver" ] || { echo "macos-check: $t has no framework install-name" >&2; return 1; }
    fw=$sdk/System/Library/Frameworks/$name.framework
    mkdir -p "$fw/Versions/$ver"
    ln -sfn "$PWD/$t" "$fw/Versions/$ver/$name.tbd"
    ln -sfn "$ver" "$fw/Versions/Current"
    ln -sfn "Versions/Current/$name.tbd" "$fw/$name.tbd"
  done
  stub_from_elf() {  # install-name, reexported library or "", ELF library
    {
      printf -- "--- !tapi-tbd\n# Made by scripts/macos-check.sh from the exports of %s.\n" "$3"
      printf "tbd-version: 4\ntargets: [ x86_64-macos, arm64-macos ]\ninstall-name: '%s'\n" "$1"
      [ -z "$2" ] || printf "reexported-libraries:\n  - targets: [ x86_64-macos, arm64-macos ]\n    libraries: [ '%s' ]\n" "$2"
      printf "exports:\n  - targets: [ x86_64-macos, arm64-macos ]\n    symbols:\n"
      llvm-nm-14 -D --defined-only --format=just-symbols "$3" | grep -v '@' | sort -u | sed "s/.*/      - '_&'/"
      echo "..."
    } >"$logs/stub.tbd"
    cmp -s "$logs/stub.tbd" "$4" || mv "$logs/stub.tbd" "$4"
  }
  lib=$(dirname "$(readlink -f "$(command -v clang++-14)")")/../lib
  stub_from_elf /usr/lib/libc++.1.dylib /usr/lib/libc++abi.dylib "$lib/libc++.so.1" "$sdk/usr/lib/libc++.tbd"
  stub_from_elf /usr/lib/libc++abi.dylib "" "$lib/libc++abi.so.1" "$sdk/usr/lib/libc++abi.tbd"
}

# Every entry of the given stubs as file:symbol, a class as the symbol that names it.
stub_entries() {
  awk '/^ *symbols:/ { kind = "s"; next } /^ *objc-classes:/ { kind = "c"; next } /^ *(- +)?[a-z-]+:/ { kind = "" }
       kind && /^ *- / { sub(/^ *- /, ""); gsub(/\047/, ""); n = split(FILENAME, f, "/")
                        print f[n] ":" (kind == "c" ? "_OBJC_CLASS_$_" : "") $0 }' "$@"
}

mac_configure() {  # architecture, build folder
  local arch=$1 dir=$2
  # Every component of the product but the tools (which need the X11 window and Linux paths), so
  # that a new adapter's folder is built here as soon as it is one of the components.
  local components
  components=$(sed -n 's/^set(QV_ALL_COMPONENTS \(.*\))$/\1/p' CMakeLists.txt | tr ' ' '\n' | grep -vx tools | paste -sd';')
  [ -n "$components" ] || { echo "macos-check: no QV_ALL_COMPONENTS line in CMakeLists.txt" >&2; return 1; }
  # libpng's own folder, never /usr/include, which would bring glibc's headers back; FindPNG wants
  # zlib's folder too, but nothing of ours includes zlib.h.
  if ! cmake -S . -B "$dir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$PWD/tests/macos/toolchain.cmake" \
    -DQV_MAC_SDK="$sdk" -DQV_MAC_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF \
    -DQV_COMPONENTS="$components" \
    -DPNG_LIBRARY="$sdk/usr/lib/libpng16.tbd" -DPNG_PNG_INCLUDE_DIR=/usr/include/libpng16 \
    -DZLIB_LIBRARY="$sdk/usr/lib/libz.tbd" -DZLIB_INCLUDE_DIR=/usr/include/libpng16 >"$logs/configure.log" 2>&1; then
    cat "$logs/configure.log"
    echo "macos-check: the macOS $arch configuration failed" >&2
    return 1
  fi
}

# One slice of a universal module: a Mach-O bundle for its architecture and minimum system, exporting
# exactly the given entry points and loading nothing but the system's libraries; arm64 code must
# carry a code signature (ld64.lld signs it ad hoc), or Apple Silicon refuses to map it.
check_slice() {  # what (for messages), thin module, Mach-O cpu name, minimum system, exports...
  local what=$1 module=$2 cpu=$3 min=$4 p
  shift 4
  llvm-objdump-14 --macho --private-header "$module" | grep -Eq "MH_MAGIC_64 +$cpu .* BUNDLE " ||
    problems+=("$what is not an $cpu MH_BUNDLE")
  local headers
  headers=$(llvm-objdump-14 --macho --private-headers "$module")
  grep -A4 -E 'LC_(VERSION_MIN_MACOSX|BUILD_VERSION)' <<<"$headers" | grep -Eq "(version|minos) $min\$" ||
    problems+=("$what: the minimum system is not $min")
  if [ "$cpu" = ARM64 ]; then
    grep -q 'cmd LC_CODE_SIGNATURE' <<<"$headers" || problems+=("$what has no code signature")
  fi
  local exports
  exports=$(llvm-nm-14 -gU --format=just-symbols "$module" | sort)
  [ "$exports" = "$(printf '%s\n' "$@" | sort)" ] ||
    problems+=("$what exports $(echo $exports), not only $*")
  # Only the system's libraries (and the stand-in for the static libpng a Mac build links).
  for p in $(llvm-objdump-14 --macho --dylibs-used "$module" | tail -n +2 | awk '{print $1}'); do
    case "$p" in
      /usr/lib/* | /System/Library/Frameworks/*) ;;
      @rpath/libpng16.16.dylib) ;;
      *) problems+=("$what loads $p") ;;
    esac
  done
}

# The universal bundle: the x86_64 build's bundle with its module replaced by both slices joined.
make_universal() {  # bundle name (Quorvane.vst3 or Quorvane.clap)
  local name=$1 module=Contents/MacOS/Quorvane out=$universal/$1
  # The rest of the two bundles (property list, images) must be the same.
  diff -r -x MacOS "$build/$name" "$arm/$name" >&2 || problems+=("the x86_64 and arm64 $name differ beyond the module")
  rm -rf "$out"
  mkdir -p "$universal"
  cp -R "$build/$name" "$out"
  llvm-lipo-14 -create "$build/$name/$module" "$arm/$name/$module" -output "$out/$module"
  local archs
  archs=$(llvm-lipo-14 -archs "$out/$module" | xargs)
  [ "$archs" = "x86_64 arm64" ] || problems+=("$name/$module holds $archs, not x86_64 and arm64")
}

mac_build() {
  local problems=() p
  assemble_sdk
  mac_configure x86_64 "$build"
  mac_configure arm64 "$arm"
  # The Info.plist CMake writes for the bundle target must be the one the layout script writes, with
  # the identifier the engine looks its images up by; every .mm is compiled without ARC.
  local id version
  id=$(sed -n 's/^set(QV_ID_BUNDLE_ID "\(.*\)")$/\1/p' src/plugin/QuorvaneIdentity.cmake)
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  cmake -DBUNDLE="$logs/layout" -DNAME=Quorvane -DIDENTIFIER="$id" -DVERSION="$version" \
    -DINFO_PLIST_IN=src/vst3/bundle/Info.plist.in -P src/vst3/bundle/MacBundleLayout.cmake
  diff -u "$logs/layout/Contents/Info.plist" "$build/Quorvane.vst3/Contents/Info.plist" >&2 ||
    problems+=("CMake's Info.plist differs from the layout's (identifier '$id')")
  # Each plug-in format compiles the Cocoa sources once (its own class names): count compilations.
  local mm made arc
  mm=$(find src -name '*.mm' | wc -l)
  made=$(cat "$build"/src/*/CMakeFiles/*.dir/build.make | grep -c -- ' -c .*\.mm$' || true)
  arc=$(cat "$build"/src/*/CMakeFiles/*.dir/build.make | grep -c -- '-fno-objc-arc .* -c .*\.mm$' || true)
  [ "$made" -ge "$mm" ] && [ "$arc" -eq "$made" ] ||
    problems+=("$arc of $made .mm compilations ($mm sources) are without ARC")

  # Warnings are the compiler's word on Mac-only code: none may pass.
  local log dir arch
  for arch in x86_64 arm64; do
    dir=$build
    [ "$arch" = arm64 ] && dir=$arm
    log=$dir/macos-check.log
    if ! cmake --build "$dir" -j2 -- -k >"$log" 2>&1; then
      grep -E 'error|warning|undefined|referenced' "$log" | head -60 >&2
      echo "macos-check: the macOS $arch build or link failed (the whole log: $log)" >&2
      return 1
    fi
    if grep -E 'warning:' "$log" >&2; then problems+=("the macOS $arch build has warnings (the whole log: $log)"); fi
  done

  local objects module=Contents/MacOS/Quorvane
  objects=$(find "$build/src" "$arm/src" -name '*.o' | wc -l)
  for p in Quorvane.vst3 Quorvane.clap; do
    if [ -f "$build/$p/$module" ] && [ -f "$arm/$p/$module" ]; then
      make_universal "$p"
    else
      problems+=("no $p/$module in both builds")
    fi
  done
  # Each slice as the Mac's loader sees it (thin copies cut from the universal files).
  local slices=$logs/slices sizes=()
  mkdir -p "$slices"
  for p in vst3 clap; do
    [ -f "$universal/Quorvane.$p/$module" ] || continue
    for arch in x86_64 arm64; do
      llvm-lipo-14 -thin "$arch" "$universal/Quorvane.$p/$module" -output "$slices/$p-$arch"
      sizes+=("$p $arch $(($(stat -c %s "$slices/$p-$arch") / 1024)) KiB")
    done
    if [ "$p" = vst3 ]; then set -- "${expected_exports[@]}"; else set -- "${expected_clap_exports[@]}"; fi
    check_slice "the $p x86_64 slice" "$slices/$p-x86_64" X86_64 10.13 "$@"
    check_slice "the $p arm64 slice" "$slices/$p-arm64" ARM64 11.0 "$@"
  done
  # The CLAP bundle: the same property list (the engine finds the images of either bundle by the one
  # identifier), and the images.
  diff -u "$logs/layout/Contents/Info.plist" "$build/Quorvane.clap/Contents/Info.plist" >&2 ||
    problems+=("CMake's CLAP Info.plist differs from the layout's")
  [ -f "$build/Quorvane.clap/Contents/Resources/BG.png" ] || problems+=("the CLAP bundle has no images")
  # A hand-written stub lists only what our objects use (dyld_stub_binder is the linker's own need).
  local used
  used=$({
    find "$build/src" "$arm/src" -name '*.o' -exec llvm-nm-14 -u --format=just-symbols {} + 2>/dev/null | grep -v ':$'
    echo dyld_stub_binder
  } | sort -u)
  for p in $(stub_entries "$sdk_src"/usr/lib/*.tbd "$sdk_src"/frameworks/*.tbd); do
    grep -qxF "${p#*:}" <<<"$used" || problems+=("${p%%:*} lists ${p#*:}, which nothing uses")
  done
  # The libpng stand-in may only name functions libpng really has (Debian's is the same 1.6).
  local png
  png=$(llvm-nm-14 -D --defined-only --format=just-symbols "$(readlink -f /usr/lib/"$(gcc -print-multiarch)"/libpng16.so)" | sed 's/@.*//; s/^/_/' | sort -u)
  for p in $(sed -n 's/^ *- \(_png_[A-Za-z0-9_]*\)$/\1/p' "$sdk_src/usr/lib/libpng16.tbd"); do
    grep -qx "$p" <<<"$png" || problems+=("libpng has no $p")
  done

  for p in "${problems[@]}"; do echo "macos-check: $p" >&2; done
  printf 'macos-check: macOS build, %d objects, %s/Quorvane.vst3 and .clap (slices: %s), %d problems (%s)\n' \
    "$objects" "$universal" "$(IFS=,; echo "${sizes[*]}" | sed 's/,/, /g')" "${#problems[@]}" "$(elapsed)"
  [ "${#problems[@]}" -eq 0 ]
}

# --- 3. Self-tests: what only the link step sees must fail it -----------------------------------

self_test() {
  [ -f "$build/CMakeCache.txt" ] || { assemble_sdk && mac_configure x86_64 "$build"; }
  local t=$logs/self failures=0
  mkdir -p "$t"
  # The flags the toolchain gives every compile and every module link, read back from the build;
  # each link test runs for both slices' targets.
  local cxx target targets=(x86_64-apple-macosx10.13 arm64-apple-macos11)
  cxx=$(sed -n 's/^CMAKE_CXX_FLAGS:STRING=//p' "$build/CMakeCache.txt")
  link() {
    clang++-14 --target="$target" -isysroot "$sdk" -stdlib=libc++ -fuse-ld=lld -bundle "$@"
  }
  compile() {  # source file, extra flags...
    local src=$1
    shift
    # shellcheck disable=SC2086
    clang++-14 --target="$target" -isysroot "$sdk" $cxx -std=c++17 -Isrc "$@" -c "$src" -o "${src%.*}.o"
  }
  expect_failure() {  # name, expected message, command...
    local name="$1 (${target%%-*})" want=$2
    shift 2
    if "$@" >"$t/out" 2>&1; then
      echo "macos-check: self-test '$name' passed, but must fail" >&2
      failures=$((failures + 1))
    elif ! grep -q -- "$want" "$t/out"; then
      cat "$t/out" >&2
      echo "macos-check: self-test '$name' failed without '$want'" >&2
      failures=$((failures + 1))
    else
      echo "macos-check: self-test '$name' fails as it must: $(grep -m1 -- "$want" "$t/out" | sed 's/^.*error: //')"
    fi
  }
  cat >"$t/undefined.cpp" <<'SRC'
extern "C" void qvNowhere();
extern "C" __attribute__((visibility("default"))) void bundleEntry() { qvNowhere(); }
SRC
  cat >"$t/gnustep.mm" <<'SRC'
#import <Foundation/Foundation.h>
#import <GNUstepBase/GSMime.h>
extern "C" __attribute__((visibility("default"))) void bundleEntry() { [[[GSMimeDocument alloc] init] release]; }
SRC
  cat >"$t/framework.cpp" <<'SRC'
#include <CoreFoundation/CoreFoundation.h>
extern "C" __attribute__((visibility("default"))) void bundleEntry() { CFRelease(CFBundleGetMainBundle()); }
SRC
  cat >"$t/glibc.cpp" <<'SRC'
#include <string.h>
extern "C" __attribute__((visibility("default"))) const void* bundleEntry(const char* s) { return memrchr(s, 'x', 4); }
SRC
  cat >"$t/charconv.cpp" <<'SRC'
#include <charconv>
extern "C" __attribute__((visibility("default"))) double bundleEntry(const char* s) {
  double v = 0;
  std::from_chars(s, s + 4, v);
  return v;
}
SRC
  for target in "${targets[@]}"; do
    compile "$t/undefined.cpp"
    expect_failure "an undefined function" "undefined symbol: _qvNowhere" link "$t/undefined.o" -o "$t/b"
    compile "$t/gnustep.mm" -fno-objc-arc
    expect_failure "a class only GNUstep has" 'undefined symbol: _OBJC_CLASS_$_GSMimeDocument' \
      link "$t/gnustep.o" -framework Cocoa -o "$t/b"
    compile "$t/framework.cpp"
    link "$t/framework.o" -framework CoreFoundation -o "$t/b" ||
      { echo "macos-check: self-test control: the framework link failed ($target)" >&2; failures=$((failures + 1)); }
    expect_failure "a framework left out of the link" "undefined symbol: _CFRelease" \
      link "$t/framework.o" -framework CoreGraphics -o "$t/b"
  done
  # The slice check itself: a signed arm64 module passes it, the same module unsigned does not.
  local problems=()
  link "$t/framework.o" -framework CoreFoundation -o "$t/signed"
  check_slice "a signed arm64 module" "$t/signed" ARM64 11.0 _bundleEntry
  link "$t/framework.o" -framework CoreFoundation -Wl,-no_adhoc_codesign -o "$t/unsigned"
  check_slice "an unsigned arm64 module" "$t/unsigned" ARM64 11.0 _bundleEntry
  if [ "${problems[*]}" = "an unsigned arm64 module has no code signature" ]; then
    echo "macos-check: self-test 'an unsigned arm64 module' fails as it must: ${problems[*]}"
  else
    echo "macos-check: self-test slice check: '${problems[*]}', not only the unsigned module's signature" >&2
    failures=$((failures + 1))
  fi
  # What the compiler alone sees does not depend on the slice.
  target=${targets[0]}
  expect_failure "a glibc-only call" "use of undeclared identifier 'memrchr'" compile "$t/glibc.cpp"
  expect_failure "a library call the Mac's libc++ lacks" "call to deleted function 'from_chars'" compile "$t/charconv.cpp"
  echo "macos-check: self-tests, $failures failed ($(elapsed))"
  [ "$failures" -eq 0 ]
}

if [ "$self_test_only" -eq 1 ]; then
  self_test
  exit
fi
syntax_check
mac_build
self_test
