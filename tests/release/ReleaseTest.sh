#!/usr/bin/env bash
# The release as users get it, from what scripts/release.sh left in dist/:
# - each .deb passes lintian without error or warning, holds exactly the expected files, depends on
#   the system's libraries (SLEEF included) and is made again byte for byte from its build folder;
# - the amd64 package installed with apt-get (per-user copies of the plug-in and the host put aside
#   meanwhile): quorvane-host runs from /usr/bin and loads both installed plug-ins, Qtractor loads
#   the plug-in from /usr/lib/clap with nothing in ~/.clap, and apt-get remove leaves nothing;
# - the Windows installer installs and uninstalls under wine;
# - the macOS archive holds both bundles with both slices and the install text.
# Usage: tests/release/ReleaseTest.sh   (as root, after scripts/release.sh; needs an X display
# for Qtractor, or runs it under xvfb-run)
set -euo pipefail
cd "$(dirname "$0")/../.."
here=tests/release
dist=dist
eval "$(cmake -P packaging/identity.cmake)"
name=$QV_ID_NAME
version=$QV_ID_VERSION
passed=0
failed=0
ok() {
  echo "release-test: ok: $*"
  passed=$((passed + 1))
}
bad() {
  echo "release-test: FAILED: $*" >&2
  failed=$((failed + 1))
}
work=$(mktemp -d)
aside=$work/aside
restore() {
  # The per-user copies and the host the run command installed go back where they were.
  if [ -f "$aside/list" ]; then
    while IFS= read -r path; do
      mkdir -p "$(dirname "$path")"
      rm -rf "$path"
      mv "$aside/files$path" "$path"
    done <"$aside/list"
  fi
  rm -rf "$work"
}
trap restore EXIT

# --- the packages -------------------------------------------------------------------------------
debs=()
for arch in amd64 arm64; do
  deb=$dist/quorvane_${version}_$arch.deb
  if [ ! -f "$deb" ]; then
    echo "release-test: skipped: no $deb"
    continue
  fi
  debs+=("$deb")
  if lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
    ok "lintian $deb"
  else
    cat "$work/lintian.log" >&2
    bad "lintian $deb"
  fi
  slice=x86_64-linux
  [ "$arch" = amd64 ] || slice=aarch64-linux
  sed -e "s|@SLICE@|$slice|g" -e "s|@NAME@|$name|g" "$here/deb-contents.txt" >"$work/expected"
  dpkg-deb --contents "$deb" | awk '{print $1, $2, $6}' >"$work/contents"
  if diff -u "$work/expected" "$work/contents" >&2; then
    ok "contents of $deb"
  else
    bad "contents of $deb differ from $here/deb-contents.txt"
  fi
  depends=$(dpkg-deb --field "$deb" Depends)
  want=libc6
  [ "$arch" = amd64 ] && want=libsleef3
  if [[ "$depends" == *"$want"* ]]; then ok "$deb depends on $want"; else bad "$deb Depends lacks $want: $depends"; fi
  # The arm64 package's programs run here under qemu, with Debian's arm64 libraries (multiarch).
  if [ "$arch" = arm64 ] && command -v qemu-aarch64 >/dev/null; then
    dpkg-deb -x "$deb" "$work/arm64"
    for plugin in "$work/arm64/usr/lib/vst3/$name.vst3" "$work/arm64/usr/lib/clap/$name.clap"; do
      if qemu-aarch64 -L / "$work/arm64/usr/bin/quorvane-host" info "$plugin" >"$work/info.log" 2>&1 &&
        grep -qE "version \"?$version" "$work/info.log"; then
        ok "the arm64 package's quorvane-host loads its $(basename "$plugin") under qemu"
      else
        cat "$work/info.log" >&2
        bad "the arm64 package's quorvane-host info $(basename "$plugin") under qemu"
      fi
    done
  fi
  build=build/package
  [ "$arch" = amd64 ] || build=build/arm64
  if bash packaging/debian/make-deb.sh "$arch" "$build" "$work/again" >/dev/null && cmp "$deb" "$work/again/$(basename "$deb")"; then
    ok "$deb is made again with the same bytes"
  else
    bad "$deb made again from $build differs"
  fi
done
[ "$(dpkg --print-architecture)" != amd64 ] || [ -f "$dist/quorvane_${version}_amd64.deb" ] ||
  bad "no amd64 package in $dist"
# A build that carries its own copy of a library (as the run command's does) is refused: the
# package must depend on the system's.
if [ -d "build/package/$name.vst3" ] && [ -e /usr/lib/x86_64-linux-gnu/libsleef.so.3 ]; then
  mkdir -p "$work/copy/tools/host"
  cp -r "build/package/$name.vst3" "build/package/$name.clap" "$work/copy/"
  cp build/package/tools/host/quorvane-host "$work/copy/tools/host/"
  cp "$(realpath /usr/lib/x86_64-linux-gnu/libsleef.so.3)" "$work/copy/$name.vst3/Contents/x86_64-linux/libsleef.so.3"
  if bash packaging/debian/make-deb.sh amd64 "$work/copy" "$work/refused" 2>"$work/refused.log" ||
    ! grep -q "carries its own libraries" "$work/refused.log"; then
    bad "a bundle with its own libsleef was packaged"
  else
    ok "a bundle with its own libsleef is refused"
  fi
fi

# --- installed as a user installs it -------------------------------------------------------------
deb=$dist/quorvane_${version}_amd64.deb
if [ "$(id -u)" -ne 0 ]; then
  echo "release-test: skipped: installing the package needs root"
elif [ -f "$deb" ]; then
  mkdir -p "$aside/files"
  for path in "$HOME/.vst3/$name.vst3" "$HOME/.clap/$name.clap" "$HOME/.clap/libsleef.so.3" \
    /usr/local/bin/quorvane-host; do
    if [ -e "$path" ]; then
      mkdir -p "$aside/files$(dirname "$path")"
      mv "$path" "$aside/files$path"
      echo "$path" >>"$aside/list"
    fi
  done
  export DEBIAN_FRONTEND=noninteractive
  apt_lock=(-o DPkg::Lock::Timeout=600)
  if apt-get "${apt_lock[@]}" install -y "$(realpath "$deb")" >"$work/apt.log" 2>&1; then
    ok "apt-get install $deb"
  else
    cat "$work/apt.log" >&2
    bad "apt-get install $deb"
  fi
  hash -r
  [ "$(command -v quorvane-host)" = /usr/bin/quorvane-host ] && ok "quorvane-host runs from /usr/bin" ||
    bad "quorvane-host on the PATH is $(command -v quorvane-host || echo nothing)"
  [ "$(quorvane-host --version)" = "quorvane-host $version" ] && ok "quorvane-host --version prints $version" ||
    bad "quorvane-host --version printed '$(quorvane-host --version)'"
  if grep -qs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
    echo "release-test: skipped: this system installs no manual pages (dpkg path-exclude)"
  else
    [ "$(man -w quorvane-host 2>/dev/null)" = /usr/share/man/man1/quorvane-host.1.gz ] && ok "man quorvane-host" ||
      bad "man finds no page for quorvane-host"
  fi
  for plugin in /usr/lib/vst3/$name.vst3 /usr/lib/clap/$name.clap; do
    if quorvane-host info "$plugin" >"$work/info.log" 2>&1 && grep -qE "version \"?$version" "$work/info.log"; then
      ok "quorvane-host info $plugin (version $version)"
    else
      cat "$work/info.log" >&2
      bad "quorvane-host info $plugin"
    fi
  done
  sleef=$(ldd "/usr/lib/clap/$name.clap" | awk '/libsleef/ {print $3}')
  owner=$( [ -n "$sleef" ] && dpkg -S "$(realpath "$sleef")" 2>/dev/null | cut -d: -f1 || true)
  [[ "$owner" == libsleef* ]] && ok "SLEEF comes from the system's $owner" || bad "SLEEF resolves to '$sleef'"
  # A real host with nothing in ~/.clap (the session test runs in a HOME of its own) and only the
  # system folder on its CLAP path.
  qtractor=(env CLAP_PATH=/usr/lib/clap bash tests/clap/qtractor/QtractorSessionTest.sh "/usr/lib/clap/$name.clap")
  [ -n "${DISPLAY:-}" ] || qtractor=(xvfb-run -a -s "-screen 0 1600x1400x24 -noreset" "${qtractor[@]}")
  set +e
  "${qtractor[@]}" >"$work/qtractor.log" 2>&1
  status=$?
  set -e
  case $status in
    0) ok "Qtractor loads $name from /usr/lib/clap" ;;
    77) echo "release-test: skipped: $(grep -m1 skipped "$work/qtractor.log")" ;;
    *) cat "$work/qtractor.log" >&2; bad "Qtractor with /usr/lib/clap/$name.clap" ;;
  esac
  dpkg-deb --contents "$deb" | awk '{print substr($6, 2)}' | sed 's|/$||' >"$work/paths"
  if apt-get "${apt_lock[@]}" remove -y quorvane >"$work/apt.log" 2>&1; then
    ok "apt-get remove quorvane"
  else
    cat "$work/apt.log" >&2
    bad "apt-get remove quorvane"
  fi
  # Every file and every folder of our own gone; shared folders (/usr/lib/clap ...) may stay.
  left=$(while IFS= read -r p; do
    if [ -n "$p" ] && [ -e "$p" ] && { [ ! -d "$p" ] || [[ "$p" == *"$name"* ]] || [[ "$p" == */quorvane ]]; }; then
      echo "$p"
    fi
  done <"$work/paths")
  [ -z "$left" ] && ok "nothing of the package is left after removal" || bad "left after removal: $left"
fi

# --- the Windows installer under wine ------------------------------------------------------------
setup=$dist/$name-$version-win64-setup.exe
if [ ! -f "$setup" ]; then
  echo "release-test: skipped: no $setup"
elif ! command -v wine >/dev/null; then
  echo "release-test: skipped: wine is missing"
else
  export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  common=$WINEPREFIX/drive_c/"Program Files"/"Common Files"
  wine "$(realpath "$setup")" /S >"$work/wine.log" 2>&1 || true
  wineserver -w
  if [ -e "$common/VST3/$name.vst3" ] && [ -e "$common/CLAP/$name.clap" ]; then
    ok "the Windows installer puts both plug-ins in Common Files"
  else
    bad "the Windows installer did not install both plug-ins (see $setup)"
  fi
  uninstaller=$(find "$WINEPREFIX/drive_c/Program Files" -iname 'uninst*.exe' | head -1)
  if [ -n "$uninstaller" ]; then
    wine "$uninstaller" /S >>"$work/wine.log" 2>&1 || true
    wineserver -w
    sleep 1
    [ ! -e "$common/VST3/$name.vst3" ] && [ ! -e "$common/CLAP/$name.clap" ] && ok "the Windows uninstaller removes both" ||
      bad "the Windows uninstaller left the plug-ins"
  else
    bad "the Windows installer left no uninstaller"
  fi
  wineserver -k 2>/dev/null || true
fi

# --- the macOS archive ---------------------------------------------------------------------------
zip=$dist/$name-$version-macOS.zip
if [ ! -f "$zip" ]; then
  echo "release-test: skipped: no $zip"
else
  top=$name-$version-macOS
  unzip -q "$zip" -d "$work/mac"
  for b in vst3 clap; do
    binary=$work/mac/$top/$name.$b/Contents/MacOS/$name
    archs=$( [ -f "$binary" ] && llvm-lipo-14 -archs "$binary" 2>/dev/null || true)
    if [[ " $archs " == *" x86_64 "* && " $archs " == *" arm64 "* ]] && [ -f "$work/mac/$top/$name.$b/Contents/Info.plist" ]; then
      ok "$name.$b in the macOS archive has the x86_64 and arm64 slices"
    else
      bad "$name.$b in the macOS archive: slices '$archs'"
    fi
  done
  text=$work/mac/$top/INSTALL.txt
  if [ -f "$text" ] && grep -q "Library/Audio/Plug-Ins/VST3" "$text" && grep -q "Library/Audio/Plug-Ins/CLAP" "$text" &&
    grep -q "Developer ID" "$text"; then
    ok "the macOS archive's INSTALL.txt"
  else
    bad "the macOS archive lacks its install text"
  fi
fi

# --- checksums -----------------------------------------------------------------------------------
if (cd "$dist" && sha256sum --quiet -c SHA256SUMS) && [ "$(wc -l <"$dist/SHA256SUMS")" -eq "$(find "$dist" -maxdepth 1 -type f ! -name SHA256SUMS | wc -l)" ]; then
  ok "SHA256SUMS covers every artefact"
else
  bad "SHA256SUMS"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
