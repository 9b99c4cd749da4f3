# shellcheck shell=bash
# Drives the real Bitloom program on an X display with real input.
# Sourced by the end-to-end test and by tools/screenshot.sh; needs xdotool,
# xclip and ImageMagick, and a DISPLAY to talk to (both callers start their
# own Xvfb).
#
# Controls are found from the window itself, never from fixed screen spots:
# a screenshot locates the grey and dark-grey palette cells by their colours,
# their distance gives the scale (480 twips apart), and from there every
# other control follows from the twip layout of the editor (15 twips = 1 px).
#
# State after drive_start / drive_locate:
#   DRIVE_PID        the program's process id
#   DRIVE_WID        its main window
#   DRIVE_SCALE      device pixels per logical pixel (1, 2, ...)
#   DRIVE_ORIGIN_X/Y the editor's client area top-left, in screen pixels
#   DRIVE_WORK       a folder for screenshots and clipboard files

readonly DRIVE_TITLE="BITLOOM by VELDRA SOFTWARE"
readonly DRIVE_TWIPS_PER_PIXEL=15

# The twip geometry of the editor that the driver relies on.
readonly DRIVE_CELL_PITCH=480      # grid and palette pitch
readonly DRIVE_CELL_SIZE=495       # grid and palette cells are 495 square
readonly DRIVE_GRID_LEFT=120       # left of the leftmost column
readonly DRIVE_GRID_TOP=120        # top of the top row
readonly DRIVE_PALETTE_LEFT=4200   # palette column
readonly DRIVE_PALETTE_TOP=360     # top of palette cell 0
readonly DRIVE_EDITOR_WIDTH=5535   # width of the editor's client area
readonly DRIVE_CODE_WINDOW_WIDTH=6000  # the code window's outer size at start-up
readonly DRIVE_CODE_WINDOW_HEIGHT=7100

drive_log() { printf '[drive %5.1fs] %s\n' "$(drive_elapsed)" "$*" >&2; }
drive_fail() { printf '[drive] FAILED: %s\n' "$*" >&2; return 1; }

DRIVE_T0=$EPOCHREALTIME
drive_elapsed() { awk -v now="$EPOCHREALTIME" -v t0="$DRIVE_T0" 'BEGIN { printf "%.1f", now - t0 }'; }

# drive_start BINARY: starts the program and waits (at most 20 s) for its
# main window to be mapped.
drive_start() {
    local binary=$1
    [ -x "$binary" ] || { drive_fail "no executable at $binary"; return 1; }
    [ -d "${DRIVE_WORK:-}" ] || DRIVE_WORK=$(mktemp -d)
    "$binary" "${@:2}" >"$DRIVE_WORK/program.log" 2>&1 &
    DRIVE_PID=$!
    # With a file open, its name stands before the caption. Its own window:
    # another Bitloom may be running.
    DRIVE_WID=$(timeout 20 xdotool search --sync --onlyvisible --all --pid "$DRIVE_PID" \
        --name "${DRIVE_TITLE}\$" | head -n 1)
    if [ -z "$DRIVE_WID" ]; then
        drive_fail "the main window \"$DRIVE_TITLE\" did not appear within 20 s"
        cat "$DRIVE_WORK/program.log" >&2
        return 1
    fi
    drive_log "main window $DRIVE_WID, process $DRIVE_PID"
}

# drive_window_geometry: prints "X Y WIDTH HEIGHT" of the main window.
drive_window_geometry() {
    xdotool getwindowgeometry --shell "$DRIVE_WID" | awk -F= '
        { v[$1] = $2 }
        END { if (!("X" in v)) exit 1; print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}

# drive_snap FILE: a screenshot of the whole screen.
drive_snap() {
    import -silent -window root "$1"
}

# drive_find_block IMAGE R G B: prints "CX CY W H" of the one solid block of
# exactly this colour (its centre in continuous screen coordinates and the
# size of its core), or fails. Thin lines and text in the same colour are
# eroded away first.
drive_find_block() {
    local image=$1 colour="rgb($2,$3,$4)" erode=6 box
    box=$(convert "$image" -fill black +opaque "$colour" -fill white -opaque "$colour" \
        -morphology Erode "Square:$erode" -format '%@ %[fx:maxima]' info: 2>/dev/null)
    case "$box" in
    *" 1") ;;
    *) drive_fail "no solid block of $colour on screen"; return 1 ;;
    esac
    box=${box% *}
    local w=${box%%x*} rest=${box#*x}
    local h=${rest%%+*} x=${rest#*+}
    local y=${x#*+}
    x=${x%%+*}
    awk -v x="$x" -v y="$y" -v w="$w" -v h="$h" -v e="$erode" \
        'BEGIN { printf "%.1f %.1f %d %d\n", x + w / 2, y + h / 2, w + 2 * e, h + 2 * e }'
}

# drive_locate: finds the editor from a screenshot and sets DRIVE_SCALE and
# DRIVE_ORIGIN_X/Y. Waits (at most 10 s) for the palette to be drawn. Call it
# before painting: a grid cell painted grey would be a second grey block.
drive_locate() {
    local shot="$DRIVE_WORK/locate.png" window="$DRIVE_WORK/locate-window.png"
    local grey dark deadline=$((SECONDS + 10)) X Y W H
    while :; do
        # Only the main window is searched, which also keeps this quick.
        read -r X Y W H < <(drive_window_geometry)
        drive_snap "$shot"
        convert "$shot" -crop "${W}x$H+$X+$Y" +repage "$window"
        grey=$(drive_find_block "$window" 128 128 128 2>/dev/null) \
            && dark=$(drive_find_block "$window" 64 64 64 2>/dev/null) && break
        if [ $SECONDS -ge $deadline ]; then
            drive_fail "the palette's grey and dark-grey cells are not on screen (see $shot)"
            return 1
        fi
        sleep 0.2
    done
    local gx gy gw gh dx dy
    read -r gx gy gw gh <<<"$grey"
    read -r dx dy _ _ <<<"$dark"
    gx=$(awk -v a="$gx" -v b="$X" 'BEGIN { print a + b }'); gy=$(awk -v a="$gy" -v b="$Y" 'BEGIN { print a + b }')
    dx=$(awk -v a="$dx" -v b="$X" 'BEGIN { print a + b }'); dy=$(awk -v a="$dy" -v b="$Y" 'BEGIN { print a + b }')
    # Palette cells 1 and 2 stand one pitch apart, one above the other.
    local verdict
    verdict=$(awk -v gx="$gx" -v gy="$gy" -v gw="$gw" -v gh="$gh" -v dx="$dx" -v dy="$dy" \
        -v pitch="$DRIVE_CELL_PITCH" -v size="$DRIVE_CELL_SIZE" -v tpp="$DRIVE_TWIPS_PER_PIXEL" '
        BEGIN {
            scale = (dy - gy) / (pitch / tpp)
            rounded = int(scale * 4 + 0.5) / 4
            cell = size / tpp * rounded
            if (rounded < 0.5 || rounded > 4 || (scale - rounded) ^ 2 > 0.01 || (dx - gx) ^ 2 > 1 \
                || gw > cell + 1 || gh > cell + 1 || gw < cell - 6 * rounded || gh < cell - 6 * rounded)
                printf "bad %.3f\n", scale
            else
                printf "ok %s\n", rounded
        }')
    if [ "${verdict%% *}" != ok ]; then
        drive_fail "palette cells do not look like the editor's: grey $grey, dark grey $dark (scale ${verdict#* }; see $shot)"
        return 1
    fi
    DRIVE_SCALE=${verdict#ok }
    # The grey cell's centre is palette cell 1's centre in the layout.
    read -r DRIVE_ORIGIN_X DRIVE_ORIGIN_Y < <(awk -v gx="$gx" -v gy="$gy" -v s="$DRIVE_SCALE" \
        -v l="$DRIVE_PALETTE_LEFT" -v t="$DRIVE_PALETTE_TOP" -v p="$DRIVE_CELL_PITCH" \
        -v c="$DRIVE_CELL_SIZE" -v tpp="$DRIVE_TWIPS_PER_PIXEL" '
        BEGIN {
            ox = gx - s * (l + c / 2) / tpp
            oy = gy - s * (t + p + c / 2) / tpp
            printf "%d %d\n", (ox < 0 ? ox - 0.5 : ox + 0.5), (oy < 0 ? oy - 0.5 : oy + 0.5)
        }')
    drive_log "editor client area at ($DRIVE_ORIGIN_X, $DRIVE_ORIGIN_Y), scale $DRIVE_SCALE"
}

# drive_point TWIPS_X TWIPS_Y: prints the screen point of an editor position.
drive_point() {
    awk -v x="$1" -v y="$2" -v s="$DRIVE_SCALE" -v ox="$DRIVE_ORIGIN_X" -v oy="$DRIVE_ORIGIN_Y" \
        -v tpp="$DRIVE_TWIPS_PER_PIXEL" \
        'BEGIN { printf "%d %d\n", ox + int(s * x / tpp), oy + int(s * y / tpp) }'
}

# drive_move X Y: moves the pointer to a screen point and waits until it is
# there. (xdotool's --sync waits for a movement, so a move to where the
# pointer already is would wait in vain.)
drive_move() {
    local at
    at=$(xdotool getmouselocation --shell | awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }')
    [ "$at" = "$1 $2" ] && return 0
    xdotool mousemove --sync "$1" "$2"
}

# drive_click X Y [BUTTON]: a click at a screen point.
drive_click() {
    drive_move "$1" "$2" && xdotool click "${3:-1}"
}

# drive_click_at TWIPS_X TWIPS_Y [BUTTON]: a click at an editor position.
drive_click_at() {
    local x y
    read -r x y < <(drive_point "$1" "$2")
    drive_click "$x" "$y" "${3:-1}"
}

# drive_pick_colour CODE: clicks palette cell 0 white, 1 grey, 2 dark grey,
# 3 black.
drive_pick_colour() {
    local half=$((DRIVE_CELL_SIZE / 2))
    drive_click_at $((DRIVE_PALETTE_LEFT + half)) $((DRIVE_PALETTE_TOP + DRIVE_CELL_PITCH * $1 + half))
}

# drive_paint ROW COLUMN: a left press on a grid cell, both counted from the
# top-left as the user sees them (0..7).
drive_paint() {
    local half=$((DRIVE_CELL_SIZE / 2))
    drive_click_at $((DRIVE_GRID_LEFT + DRIVE_CELL_PITCH * $2 + half)) \
        $((DRIVE_GRID_TOP + DRIVE_CELL_PITCH * $1 + half))
}

# drive_set_name NAME: selects the whole text of the name box and types NAME
# over it, as a user would. Relies on the box holding the keyboard focus, as
# it does while the editor is the active window.
drive_set_name() {
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 -- "$1"
}

# drive_code_point: prints a screen point well inside the code pane. The code
# window stands right of the editor and is far larger than the few pixels of
# frame this leaves to spare.
drive_code_point() {
    drive_point $((DRIVE_EDITOR_WIDTH + DRIVE_CODE_WINDOW_WIDTH / 2)) $((DRIVE_CODE_WINDOW_HEIGHT * 2 / 3))
}

# drive_copy_code FILE: selects all of the code pane, copies it and writes
# the clipboard, byte for byte, to FILE.
drive_copy_code() {
    local x y
    read -r x y < <(drive_code_point)
    drive_click "$x" "$y"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    # The copy arrives through the event loop; give it a moment.
    local deadline=$((SECONDS + 5))
    : >"$1"
    until timeout 2 xclip -o -selection clipboard >"$1" 2>/dev/null && [ -s "$1" ]; do
        [ $SECONDS -ge $deadline ] && { drive_fail "the clipboard stayed empty"; return 1; }
        sleep 0.1
    done
}

# drive_wait_code EXPECTED_FILE GOT_FILE: copies the code pane until it holds
# exactly the expected text (at most 10 s, since input is handled
# asynchronously); on a mismatch shows the difference.
drive_wait_code() {
    local expected=$1 got=$2 deadline=$((SECONDS + 10))
    while :; do
        drive_copy_code "$got" || return 1
        cmp -s "$expected" "$got" && return 0
        if [ $SECONDS -ge $deadline ]; then
            drive_fail "the code pane does not hold the expected text"
            cmp "$expected" "$got" >&2
            diff -u --label expected --label got "$expected" "$got" >&2
            return 1
        fi
        sleep 0.3
    done
}

# drive_menu_file_point: prints the screen point of "File" in the menu bar.
# The bar runs along the window's top down to the dark border of the strip
# below it; "File" is the leftmost caption in it.
drive_menu_file_point() {
    local X Y W H shot="$DRIVE_WORK/menubar.png"
    read -r X Y W H < <(drive_window_geometry)
    drive_snap "$shot"
    local bar
    bar=$(convert "$shot" -crop "1x$H+$((X + W / 2))+$Y" +repage -colorspace gray -depth 8 txt:- \
        | awk -F'[,:]' 'NR > 1 && match($0, /gray\(([0-9]+)/) {
              if (substr($0, RSTART + 5, RLENGTH - 5) + 0 < 100) { print $2; exit } }')
    if [ -z "$bar" ] || [ "$bar" -le 4 ]; then
        drive_fail "no menu bar at the window's top (see $shot)"
        return 1
    fi
    convert "$shot" -crop "$((W / 3))x$bar+$X+$Y" +repage -colorspace gray -depth 8 txt:- \
        | awk -F'[,:]' -v X="$X" -v Y="$Y" '
            NR > 1 && match($0, /gray\(([0-9]+)/) && substr($0, RSTART + 5, RLENGTH - 5) + 0 < 100 {
                x = $1 + 0; y = $2 + 0; n++
                if (n == 1 || x < left) left = x
                if (n == 1 || y < top) top = y
                if (y > bottom) bottom = y
            }
            END {
                if (n == 0) exit 1
                printf "%d %d\n", X + left + 2, Y + int((top + bottom) / 2)
            }' || { drive_fail "no caption in the menu bar (see $shot)"; return 1; }
}

# drive_open FILE: File > Open by its shortcut, FILE typed into the file
# dialog; waits (at most 10 s) for the dialog to close.
drive_open() {
    local dialog="" deadline=$((SECONDS + 10))
    xdotool windowfocus --sync "$DRIVE_WID" 2>/dev/null || true
    xdotool key --window "$DRIVE_WID" ctrl+o
    while [ -z "$dialog" ]; do
        dialog=$(xdotool search --onlyvisible --name '^Open$' 2>/dev/null | head -n 1)
        [ -n "$dialog" ] && break
        [ $SECONDS -ge $deadline ] && { drive_fail "no Open dialog"; return 1; }
        sleep 0.1
    done
    sleep 0.3
    xdotool type --delay 5 "$1"
    # The file name's completion list may take the first Return for itself:
    # Return again while the dialog stays.
    local waited=0
    xdotool key Return
    while xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && { drive_fail "the Open dialog stays"; return 1; }
        sleep 0.1
        waited=$((waited + 1))
        [ $((waited % 10)) -eq 0 ] && xdotool key Return
    done
    drive_log "opened $1"
}

# drive_quit: "File" then "Quit" from the menu bar; answers "Discard" when the
# program asks whether to save the changes; waits (at most 10 s) for the
# program to end and sets DRIVE_EXIT_STATUS to its exit status. Fails if the
# menu does not open, no prompt appears or the program does not end.
drive_quit() {
    local fx fy
    read -r fx fy < <(drive_menu_file_point) || return 1
    drive_click "$fx" "$fy"
    # The opened menu is a window of its own; its last item is "Quit".
    local menu="" deadline=$((SECONDS + 5))
    while [ -z "$menu" ]; do
        menu=$(xdotool search --onlyvisible --class . 2>/dev/null \
            | while read -r w; do
                [ "$w" = "$DRIVE_WID" ] && continue
                # The drop-down opens just below "File", at the window's left.
                xdotool getwindowgeometry --shell "$w" 2>/dev/null | awk -F= -v w="$w" -v fx="$fx" -v fy="$fy" '
                    { v[$1] = $2 }
                    END { if (v["Y"] > fy && v["X"] <= fx) print w, v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
            done | head -n 1)
        [ -n "$menu" ] && break
        [ $SECONDS -ge $deadline ] && { drive_fail "the File menu did not open"; return 1; }
        sleep 0.1
    done
    local mw mx my mwidth mheight
    read -r mw mx my mwidth mheight <<<"$menu"
    drive_log "File menu $mw at $mx,$my ${mwidth}x$mheight"
    # "Quit" is the menu's last item, underlined Q.
    xdotool key q
    # The sheet holds unsaved changes: the program asks first.
    local prompt="" 
    deadline=$((SECONDS + 10))
    while [ -z "$prompt" ]; do
        prompt=$(xdotool search --onlyvisible --name '^Bitloom$' 2>/dev/null | head -n 1)
        [ -n "$prompt" ] && break
        kill -0 "$DRIVE_PID" 2>/dev/null || { drive_fail "the program ended without asking to save"; return 1; }
        [ $SECONDS -ge $deadline ] && { drive_fail "no save prompt 10 s after Quit"; return 1; }
        sleep 0.1
    done
    drive_log "save prompt $prompt; answering Discard"
    xdotool windowfocus --sync "$prompt" 2>/dev/null || true
    xdotool key --window "$prompt" alt+d
    deadline=$((SECONDS + 10))
    while kill -0 "$DRIVE_PID" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && { drive_fail "the program still runs 10 s after Discard"; return 1; }
        sleep 0.1
    done
    DRIVE_EXIT_STATUS=0
    wait "$DRIVE_PID" || DRIVE_EXIT_STATUS=$?
    drive_log "program ended with status $DRIVE_EXIT_STATUS"
}

# drive_stop: ends the program if it still runs (cleanup after a failure).
drive_stop() {
    [ -n "${DRIVE_PID:-}" ] || return 0
    kill "$DRIVE_PID" 2>/dev/null || return 0
    local tries=30
    while kill -0 "$DRIVE_PID" 2>/dev/null && [ $((tries -= 1)) -gt 0 ]; do sleep 0.1; done
    kill -KILL "$DRIVE_PID" 2>/dev/null
    wait "$DRIVE_PID" 2>/dev/null
    return 0
}
