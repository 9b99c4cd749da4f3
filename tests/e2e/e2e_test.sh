#!/usr/bin/env bash
# End to end: the real bitloom executable on its own X server, driven with
# real pointer and keyboard input, its code text copied out through the
# clipboard and compared to the character, then ended through File > Quit.
#   e2e_test.sh BITLOOM [WORK_DIR [SCALE]]
# SCALE (default 1) is passed as QT_SCALE_FACTOR: every control must then be
# where the layout puts it, SCALE times as far from the editor's corner.
# Screenshots, the program's output and the copied text of the last run are
# left in WORK_DIR/last-run. Exits 77 (skipped) when Xvfb, xdotool, xclip or
# ImageMagick is missing.
set -uo pipefail
# shellcheck disable=SC2015 # "a && b || fail": fail when either step fails

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=setup.sh
source "$here/setup.sh" 90 "$@"

drive_start "$binary" || fail "start"
drive_locate || fail "locate the editor"
[ "$DRIVE_SCALE" = "$scale" ] || fail "the editor is drawn at scale $DRIVE_SCALE, not $scale"

# The first sprite keeps the name the box starts with.
#   row 0: black at the far left, grey at the far right
#   row 3: dark grey in the third column
#   row 7: dark grey at the far right
drive_pick_colour 3 && drive_paint 0 0 || fail "paint"
drive_pick_colour 1 && drive_paint 0 7 || fail "paint"
drive_pick_colour 2 && drive_paint 3 2 && drive_paint 7 7 || fail "paint"

# A new name, typed straight away: the cells never take the keyboard focus,
# so the name box still has it. Typing clears the grid; dark grey stays the
# selected colour.
drive_set_name "Hero_2" || fail "type the name"
#   row 1: dark grey in the second column
#   row 6: black, then grey painted over it, in the seventh column
#   row 7: grey at the far left
drive_paint 1 1 || fail "paint"
drive_pick_colour 3 && drive_paint 6 6 || fail "paint"
drive_pick_colour 1 && drive_paint 6 6 && drive_paint 7 0 || fail "paint"

# Back to the first name: its drawing comes back, and one more grey cell
# (row 5, fifth column) changes its lines where they stand.
drive_set_name "Sprite" || fail "type the name"
drive_paint 5 4 || fail "paint"

printf '%s' "
static unsigned char Spritelight[]={0x81,0x00,0x00,0x00,0x00,0x08,0x00,0x00};
static unsigned char Spritedark[]={0x80,0x00,0x00,0x20,0x00,0x00,0x00,0x01};
static unsigned char Hero_2light[]={0x00,0x00,0x00,0x00,0x00,0x00,0x02,0x80};
static unsigned char Hero_2dark[]={0x00,0x40,0x00,0x00,0x00,0x00,0x00,0x00};" >"$DRIVE_WORK/expected.txt"
drive_wait_code "$DRIVE_WORK/expected.txt" "$DRIVE_WORK/clipboard.txt" || fail "code text"
drive_log "code text matches"

drive_quit || fail "File > Quit"
[ "$DRIVE_EXIT_STATUS" -eq 0 ] || fail "File > Quit: the program exited with status $DRIVE_EXIT_STATUS"
trap - EXIT
drive_log "passed"
