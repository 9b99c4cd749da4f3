#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the desktop
# integration lands where desktops look for it and passes the validators.
# Exits 77 (skipped) when ImageMagick or a validator is missing.
set -euo pipefail
build=$1
for tool in identify desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "install check: SKIPPED: $tool is missing" >&2; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

id=com.veldrasoftware.Bitloom
expect() {
    [ -e "$prefix/$1" ] || { echo "missing after install: $1" >&2; exit 1; }
}
expect bin/bitloom
expect "share/applications/$id.desktop"
expect "share/metainfo/$id.metainfo.xml"
expect "share/icons/hicolor/scalable/apps/$id.svg"
expect "share/icons/hicolor/48x48/apps/$id.png"
expect share/man/man1/bitloom.1

size=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/48x48/apps/$id.png")
[ "$size" = 48x48 ] || { echo "48x48 icon is $size" >&2; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo "install layout and validators: ok"
