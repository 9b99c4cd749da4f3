#!/bin/sh
# Regenerates every PNG in png/ from the SVG sources in svg/.
# Needs rsvg-convert (Debian: librsvg2-bin). Run from anywhere.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
src="$here/svg"
out="$here/png"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
    exit 1
fi

mkdir -p "$out"

# render NAME SIZE FILE
render() {
    rsvg-convert --width "$2" --height "$2" --output "$out/$3" "$src/$1.svg"
}

# 32x32 tool icons, plus their 2x versions for high-density screens.
for name in pencil brush arrow; do
    render "$name" 32 "$name.png"
    render "$name" 64 "$name@2x.png"
done

# Application icon: 48x48 and its 2x version. Launchers take the SVG.
render bitloom 48 bitloom.png
render bitloom 96 bitloom@2x.png

echo "render.sh: PNGs written to $out"
