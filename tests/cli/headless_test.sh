#!/usr/bin/env bash
# The command line built without the widgets library links no widgets and
# still shows, checks, exports and imports.
set -euo pipefail
binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ldd "$binary" | grep -q 'libQt6Widgets'; then
    echo "the command line links the widgets library" >&2
    exit 1
fi
printf '%s\n' 'static unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};' \
              'static unsigned char Adark[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00};' >"$work/a.h"
"$binary" check "$work/a.h"
[ "$("$binary" show "$work/a.h" | sed -n 2p)" = '#.......' ]
"$binary" export "$work/a.h" -o "$work/a.png"
"$binary" import "$work/a.png" -o "$work/b.h"
[ "$("$binary" show "$work/b.h" | sed -n 2p)" = '#.......' ]
