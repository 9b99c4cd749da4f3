#!/usr/bin/env bash
# End to end: unsaved work survives the end of the program. The real bitloom
# executable, on its own X server, draws a few cells into a new sprites.h and
# is then killed, once with SIGKILL (after the recovery file was written) and
# once with SIGTERM (right after the change, as logout sends it). Started
# again on the same file, it offers the work; Recover brings back the code
# text byte for byte, and Discard at Quit leaves no recovery file behind.
#   recovery_test.sh BITLOOM [WORK_DIR [SCALE]]
# Exits 77 (skipped) when Xvfb, xdotool, xclip or ImageMagick is missing.
set -uo pipefail
# shellcheck disable=SC2015 # "a && b || fail": fail when either step fails

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=setup.sh
source "$here/setup.sh" 150 "$@"

recovery_files() { find "$XDG_DATA_HOME" -name '*.recovery' 2>/dev/null; }

# wait_recovery_file: waits (at most 15 s) for a recovery file to appear.
wait_recovery_file() {
    local deadline=$((SECONDS + 15))
    until [ -n "$(recovery_files)" ]; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

# prompt_window: prints the program's message window, waiting at most 10 s.
prompt_window() {
    local prompt="" deadline=$((SECONDS + 10))
    until [ -n "$prompt" ]; do
        prompt=$(xdotool search --onlyvisible --name '^Bitloom$' 2>/dev/null | head -n 1)
        [ -n "$prompt" ] && break
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    echo "$prompt"
}

# One round: draw, end the program with SIGNAL, start again, recover.
round() {
    local signal=$1 file=$DRIVE_WORK/$1/sprites.h
    mkdir -p "$DRIVE_WORK/$signal"
    rm -rf "$XDG_DATA_HOME"
    drive_log "--- SIG$signal"

    drive_start "$binary" "$file" || fail "start"
    drive_locate || fail "locate the editor"
    # Black only: the palette is found again by its grey cells after the
    # restart, when the recovered drawing is on the grid.
    drive_pick_colour 3 && drive_paint 0 0 && drive_paint 2 5 && drive_paint 7 7 || fail "paint"
    drive_set_name "Hero" || fail "type the name"
    drive_paint 4 4 || fail "paint"
    printf '%s' "
static unsigned char Spritelight[]={0x80,0x00,0x04,0x00,0x00,0x00,0x00,0x01};
static unsigned char Spritedark[]={0x80,0x00,0x04,0x00,0x00,0x00,0x00,0x01};
static unsigned char Herolight[]={0x00,0x00,0x00,0x00,0x08,0x00,0x00,0x00};
static unsigned char Herodark[]={0x00,0x00,0x00,0x00,0x08,0x00,0x00,0x00};" >"$DRIVE_WORK/$signal/expected.txt"
    drive_wait_code "$DRIVE_WORK/$signal/expected.txt" "$DRIVE_WORK/$signal/before.txt" || fail "code text before the end"

    if [ "$signal" = KILL ]; then
        wait_recovery_file || fail "no recovery file 15 s after the change"
    fi
    kill -"$signal" "$DRIVE_PID"
    local status=0
    wait "$DRIVE_PID" || status=$?
    drive_log "SIG$signal: the program ended with status $status"
    if [ "$signal" = TERM ]; then
        [ "$status" -eq 0 ] || fail "SIGTERM: exit status $status, not 0"
    fi
    [ -n "$(recovery_files)" ] || fail "SIG$signal left no recovery file"
    [ -e "$file" ] && fail "SIG$signal: the unsaved work was written to $file"

    drive_start "$binary" "$file" || fail "start again"
    local prompt
    prompt=$(prompt_window) || fail "no recovery prompt after SIG$signal"
    drive_log "recovery prompt $prompt; answering Recover"
    xdotool windowfocus --sync "$prompt" 2>/dev/null || true
    xdotool key --window "$prompt" alt+r
    local deadline=$((SECONDS + 10))
    while xdotool search --onlyvisible --name '^Bitloom$' >/dev/null 2>&1; do
        # A message after Recover would say the file is open elsewhere:
        # the killed run's lock must have been taken over.
        [ $SECONDS -ge $deadline ] && fail "a message stays open after Recover"
        sleep 0.1
    done
    drive_locate || fail "locate the editor after Recover"
    drive_wait_code "$DRIVE_WORK/$signal/expected.txt" "$DRIVE_WORK/$signal/recovered.txt" \
        || fail "SIG$signal: the recovered code text differs"
    drive_log "SIG$signal: the recovered code text matches byte for byte"

    drive_quit || fail "File > Quit"
    [ "$DRIVE_EXIT_STATUS" -eq 0 ] || fail "File > Quit: exit status $DRIVE_EXIT_STATUS"
    [ -z "$(recovery_files)" ] || fail "a recovery file stays after Discard at Quit"
    [ -e "$file" ] && fail "Discard wrote $file"
    DRIVE_PID=
}

round KILL
round TERM
trap - EXIT
drive_log "passed"
