#!/usr/bin/env bash
# Takes a screenshot of the real program with a sprite drawn.
#   tools/screenshot.sh [--tools] BITLOOM OUTPUT.png [SCALE]
# BITLOOM is a built executable (this script builds nothing). The program
# runs on its own Xvfb with QT_SCALE_FACTOR=SCALE (default 1) and opens the
# few sprites of docs/sample-sprites.h; a heart named
# "Heart" is drawn with real X input, and once its code shows, the main
# window is cut out of the screen into OUTPUT.png. With --tools the tool
# pop-up is left open below the palette, to show its pictures too.
#   tools/screenshot.sh build/src/bitloom docs/screenshot.png
#   tools/screenshot.sh build/src/bitloom docs/screenshot-2x.png 2
set -uo pipefail

usage() { echo "usage: $0 [--tools] BITLOOM OUTPUT.png [SCALE]" >&2; exit 2; }
tools=""
[ "${1:-}" = --tools ] && { tools=--tools; shift; }
[ $# -ge 2 ] && [ $# -le 3 ] || usage
binary=$(realpath -e "$1") || usage
output=$(realpath -m "$2")
scale=${3:-1}
[[ $scale =~ ^[1-4]$ ]] || { echo "$0: SCALE is a whole number from 1 to 4" >&2; exit 2; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Run again on an X server of our own, large enough for the scaled window.
if [ -z "${BITLOOM_SCREENSHOT_INSIDE:-}" ]; then
    for tool in xvfb-run xdotool xclip import convert; do
        command -v "$tool" >/dev/null || { echo "$0: $tool is missing" >&2; exit 1; }
    done
    export BITLOOM_SCREENSHOT_INSIDE=1
    exec timeout 120 xvfb-run -a -s "-screen 0 $((1280 * scale))x$((1024 * scale))x24 -nolisten tcp" \
        bash "$0" $tools "$binary" "$output" "$scale"
fi

DRIVE_WORK=$(mktemp -d)
# Its own runtime and data folders: no lock or recovery file of another run
# stands in the way of the picture.
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale XDG_RUNTIME_DIR=$DRIVE_WORK/runtime XDG_DATA_HOME=$DRIVE_WORK/data
unset BITLOOM_STATE_DIR
unset QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
mkdir -m 700 "$XDG_RUNTIME_DIR"
# shellcheck source=../tests/e2e/drive.sh
source "$here/tests/e2e/drive.sh"
trap 'drive_stop; rm -rf "$DRIVE_WORK"' EXIT

fail() { echo "$0: FAILED: $*" >&2; exit 1; }

drive_start "$binary" || fail "start"
drive_locate || fail "locate the editor"
# A few sprites for the Sprites window, opened from a header as a user would.
sample="$here/docs/sample-sprites.h"
drive_open "$sample" || fail "open $sample"
[ "$DRIVE_SCALE" = "$scale" ] || fail "the editor is drawn at scale $DRIVE_SCALE, not $scale"

drive_set_name "Heart" || fail "type the name"
# A heart: black outline, dark-grey body, a grey highlight.
heart=(
    ".##..##."
    "#GD##DD#"      # # black, D dark grey, G grey
    "#GDDDDD#"
    "#DDDDDD#"
    ".#DDDD#."
    "..#DD#.."
    "...##..."
    "........"
)
for colour in "#:3" "D:2" "G:1"; do
    drive_pick_colour "${colour#*:}" || fail "pick a colour"
    for row in "${!heart[@]}"; do
        for ((column = 0; column < 8; column++)); do
            if [ "${heart[row]:column:1}" = "${colour%%:*}" ]; then
                drive_paint "$row" "$column" || fail "paint"
            fi
        done
    done
done

# Wait until the code pane holds the heart's declarations. Copying them out
# selects the text; a click in the pane below the text drops the selection.
{ cat "$sample"; printf '%s' "
static unsigned char Heartlight[]={0x66,0xD9,0xC1,0x81,0x42,0x24,0x18,0x00};
static unsigned char Heartdark[]={0x66,0xBF,0xBF,0xFF,0x7E,0x3C,0x18,0x00};"; } >"$DRIVE_WORK/expected.txt"
drive_wait_code "$DRIVE_WORK/expected.txt" "$DRIVE_WORK/code.txt" || fail "the heart's code did not show"
read -r x y < <(drive_code_point)
drive_click "$x" "$y"
if [ -n "$tools" ]; then
    # A right press near the bottom-right cell's top-left corner opens the
    # pop-up there, clear of the heart; the pointer then rests on the pen.
    drive_click_at 3560 3560 3
    read -r x y < <(drive_point $((3560 + 360)) $((3560 + 360)))
    drive_move "$x" "$y"
else
    # Back to the editor (a click on the caption above the name box), so that
    # it is the active window in the picture; then the pointer out of the way.
    drive_click_at 600 4200
fi
read -r X Y W H < <(drive_window_geometry)
[ -n "$tools" ] || drive_move $((X + W + 20)) $((Y + H + 20))

# Capture once the window has stopped changing. The name box is left out of
# the comparison: its text cursor blinks.
box_left=$((DRIVE_ORIGIN_X - X)) box_top=$((DRIVE_ORIGIN_Y - Y + 290 * scale))
previous=""
for _ in $(seq 1 20); do
    sleep 0.3
    drive_snap "$DRIVE_WORK/screen.png"
    convert "$DRIVE_WORK/screen.png" -crop "${W}x$H+$X+$Y" +repage "$DRIVE_WORK/window.png"
    sum=$(convert "$DRIVE_WORK/window.png" -fill white \
        -draw "rectangle $box_left,$box_top $((box_left + 150 * scale)),$((box_top + 35 * scale))" \
        -format '%#' info:)
    [ "$sum" = "$previous" ] && break
    previous=$sum
done
mkdir -p "$(dirname "$output")"
cp "$DRIVE_WORK/window.png" "$output" || fail "write $output"
drive_quit || fail "quit"
echo "$output: ${W}x$H at scale $scale"
