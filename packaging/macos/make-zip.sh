#!/usr/bin/env bash
# Makes the macOS archive from the universal bundles:
#   packaging/macos/make-zip.sh UNIVERSAL_DIR OUT_DIR
# UNIVERSAL_DIR holds Quorvane.vst3 and Quorvane.clap (scripts/macos-check.sh makes
# build/macos/universal). The archive is one folder with both bundles and INSTALL.txt; its entries
# are sorted, dated from the changelog (or SOURCE_DATE_EPOCH) and carry no owner, so that a rerun
# gives the same bytes.
set -euo pipefail
universal=$(realpath "$1")
out=$(mkdir -p "$2" && realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
eval "$(cmake -P "$root/packaging/identity.cmake")"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$root/packaging/debian/changelog" -S Timestamp)}

name=$QV_ID_NAME-$QV_ID_VERSION-macOS
for b in vst3 clap; do
  [ -f "$universal/$QV_ID_NAME.$b/Contents/MacOS/$QV_ID_NAME" ] ||
    { echo "make-zip: $universal/$QV_ID_NAME.$b is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/$name"
cp -r "$universal/$QV_ID_NAME.vst3" "$universal/$QV_ID_NAME.clap" "$work/$name/"
cmake -DIN="$here/INSTALL.txt.in" -DOUT="$work/$name/INSTALL.txt" -P "$root/packaging/identity.cmake"
find "$work/$name" -type d -exec chmod 0755 {} +
find "$work/$name" -type f -exec chmod 0644 {} +
chmod 0755 "$work/$name"/*/Contents/MacOS/*
find "$work/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$out/$name.zip"
# Zip stores local time: UTC keeps the dates the same on every machine.
(cd "$work" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$out/$name.zip" -@)
echo "make-zip: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
