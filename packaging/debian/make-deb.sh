#!/usr/bin/env bash
# Makes the Debian package of one architecture from a finished Release build folder:
#   packaging/debian/make-deb.sh ARCH BUILD_DIR OUT_DIR      (ARCH: amd64 or arm64)
# The build must load its libraries from the system (no bundled SLEEF, no RPATH): the package
# depends on them instead. The package is reproducible: every time stamp is the changelog's date
# (or SOURCE_DATE_EPOCH), the archives are sorted, owned by root and compressed single-threaded.
set -euo pipefail
arch=$1
build=$(realpath "$2")
out=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() {
  echo "make-deb ($arch): $*" >&2
  exit 1
}

eval "$(cmake -P "$root/packaging/identity.cmake")"
package=$(echo "$QV_ID_NAME" | tr '[:upper:]' '[:lower:]')
changelog_version=$(dpkg-parsechangelog -l "$here/changelog" -S Version)
[ "$changelog_version" = "$QV_ID_VERSION" ] ||
  fail "packaging/debian/changelog starts at $changelog_version, the product is $QV_ID_VERSION: add its entry"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$here/changelog" -S Timestamp)}

case $arch in
  amd64) triplet=x86_64-linux-gnu slice=x86_64-linux ;;
  arm64) triplet=aarch64-linux-gnu slice=aarch64-linux ;;
  *) fail "unknown architecture" ;;
esac
strip=strip
[ "$arch" = amd64 ] || strip=$triplet-strip
bundle=$build/$QV_ID_NAME.vst3
clap=$build/$QV_ID_NAME.clap
host=$build/tools/host/quorvane-host
[ -x "$host" ] || host=$build/quorvane-host
for f in "$bundle/Contents/$slice/$QV_ID_NAME.so" "$clap" "$host"; do
  [ -f "$f" ] || fail "$f is missing: build first"
done

stage=$build/deb-root
rm -rf "$stage"
lib=$stage/usr/lib
doc=$stage/usr/share/doc/$package
mkdir -p "$lib/vst3" "$lib/clap" "$stage/usr/bin" "$stage/usr/share/man/man1" "$doc" "$stage/DEBIAN"
cp -r "$bundle" "$lib/vst3/"
cp "$clap" "$lib/clap/"
cp "$host" "$stage/usr/bin/quorvane-host"
modules=("$lib/vst3/$QV_ID_NAME.vst3/Contents/$slice/$QV_ID_NAME.so" "$lib/clap/$QV_ID_NAME.clap")
# A library copied into the bundle would shadow the system's, which the package depends on.
extra=$(find "$lib/vst3" -name '*.so*' ! -path "${modules[0]}")
[ -z "$extra" ] || fail "the bundle carries its own libraries ($extra): configure with -DQV_BUNDLE_SLEEF=OFF"
for f in "${modules[@]}" "$stage/usr/bin/quorvane-host"; do
  if readelf -dW "$f" | grep -qE '\((RPATH|RUNPATH)\)'; then
    fail "$f has a library search path: configure with -DQV_BUNDLE_SLEEF=OFF"
  fi
done
# As Debian's own packages are stripped: no symbols, no compiler notes.
"$strip" --remove-section=.comment --remove-section=.note --strip-unneeded "${modules[@]}"
"$strip" --remove-section=.comment --remove-section=.note "$stage/usr/bin/quorvane-host"

# Fills a template with the identity and KEY=VALUE pairs: fill IN OUT [KEY=VALUE]...
fill() {
  local in=$1 out=$2
  shift 2
  cmake "${@/#/-D}" -DIN="$in" -DOUT="$out" -P "$root/packaging/identity.cmake"
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fill "$here/quorvane-host.1.in" "$work/quorvane-host.1"
gzip -9n <"$work/quorvane-host.1" >"$stage/usr/share/man/man1/quorvane-host.1.gz"
fill "$here/copyright.in" "$doc/copyright"
# A native package: its Debian changelog is changelog.gz.
gzip -9n <"$here/changelog" >"$doc/changelog.gz"

# Depends from the libraries the binaries link, for the package's architecture (multiarch for a
# foreign one).
mkdir "$work/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: %s\n' "$package" "$package" "$arch" >"$work/debian/control"
shlibs=$(cd "$work" && DEB_HOST_ARCH=$arch dpkg-shlibdeps -O -e "${modules[@]}" -e "$stage/usr/bin/quorvane-host" 2>"$work/shlibdeps.log") ||
  { cat "$work/shlibdeps.log" >&2; fail "dpkg-shlibdeps failed (for arm64: the :arm64 libraries must be installed)"; }
depends=${shlibs#shlibs:Depends=}

# Permissions as Debian's packaging tools set them, whatever the umask.
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
chmod 0755 "$stage/usr/bin/quorvane-host"
# Installed-Size as dpkg counts it: kibibytes per file, rounded up, plus one per folder.
size=$(find "$stage" -path "$stage/DEBIAN" -prune -o \( -type f -printf '%s\n' -o -printf '0\n' \) |
  awk '{ s += int(($1 + 1023) / 1024); if ($1 == 0) s += 1 } END { print s }')
fill "$here/control.in" "$stage/DEBIAN/control" PACKAGE="$package" ARCH="$arch" INSTALLED_SIZE="$size" DEPENDS="$depends"
(cd "$stage" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$stage/DEBIAN/md5sums"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir -p "$out"
deb=$out/${package}_${QV_ID_VERSION}_$arch.deb
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$stage" "$deb" >/dev/null
echo "make-deb: $deb ($(stat -c %s "$deb") bytes; Depends: $depends)"
