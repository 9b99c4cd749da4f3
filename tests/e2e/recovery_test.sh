#!/usr/bin/env bash
# End to end: unsaved work survives the end of the program. The real bitloom
# executable, on its own X server, draws into a new sprites.h and is ended:
#   - with SIGKILL after 8 s of presses one second apart: the recovery file
#     holds every press made 5 s or more before the kill;
#   - with SIGTERM, SIGHUP, SIGINT and SIGQUIT right after a change (logout,
#     a closed terminal, Ctrl+C, Ctrl+\): it exits 0 and keeps the work.
# Started again on the same file, it offers the work; Recover brings back the
# code text byte for byte, and Discard at Quit leaves no recovery file behind.
# Last, two instances killed together are both offered at the next start,
# newest first, one after the other.
#   recovery_test.sh BITLOOM [WORK_DIR [SCALE]]
# Exits 77 (skipped) when Xvfb, xdotool, xclip or ImageMagick is missing.
set -uo pipefail
# shellcheck disable=SC2015 # "a && b || fail": fail when either step fails

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=setup.sh
source "$here/setup.sh" 280 "$@"

# A script's background jobs start with SIGINT and SIGQUIT ignored, and the
# program leaves an ignored signal ignored. Started from a terminal they are
# not: so they are here.
launcher=$DRIVE_WORK/bitloom
printf '#!/bin/sh\nexec env --default-signal=HUP,INT,QUIT "%s" "$@"\n' "$binary" >"$launcher"
chmod +x "$launcher"

recovery_files() { find "$XDG_DATA_HOME" -name '*.recovery' 2>/dev/null; }

# wait_recovery_files COUNT: waits (at most 15 s) for COUNT recovery files.
wait_recovery_files() {
    local deadline=$((SECONDS + 15))
    until [ "$(recovery_files | wc -l)" -ge "$1" ]; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

# prompt_window [NOT]: prints the program's message window (other than NOT),
# waiting at most 10 s.
prompt_window() {
    local prompt="" deadline=$((SECONDS + 10))
    until [ -n "$prompt" ]; do
        prompt=$(xdotool search --onlyvisible --name '^Bitloom$' 2>/dev/null | grep -vx "${1:-none}" | head -n 1)
        [ -n "$prompt" ] && break
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    echo "$prompt"
}

# answer_prompt KEY [NOT]: answers the message window (other than NOT) with
# KEY and waits for it to close; prints its id.
answer_prompt() {
    local prompt
    prompt=$(prompt_window "${2:-}") || return 1
    drive_log "prompt $prompt; answering $1"
    xdotool windowfocus --sync "$prompt" 2>/dev/null || true
    xdotool key --window "$prompt" "$1"
    local deadline=$((SECONDS + 10))
    while xdotool search --onlyvisible --name '^Bitloom$' 2>/dev/null | grep -qx "$prompt"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    echo "$prompt"
}

# recover FILE EXPECTED: starts the program on FILE (or on nothing), answers
# Recover, and checks the code text against EXPECTED.
recover() {
    drive_start "$launcher" ${1:+"$1"} || fail "start again"
    answer_prompt alt+r >/dev/null || fail "no recovery prompt, or it stays after Recover"
    # A message after Recover would say the file is open elsewhere: the
    # killed run's lock must not count.
    sleep 0.3
    prompt_window >/dev/null 2>&1 && fail "a message is open after Recover"
    drive_locate || fail "locate the editor after Recover"
    drive_wait_code "$2" "$DRIVE_WORK/recovered.txt" || fail "the recovered code text differs"
}

# quit_discarding: File > Quit, Discard; no recovery file of this run stays.
quit_discarding() {
    local before
    before=$(recovery_files | wc -l)
    drive_quit || fail "File > Quit"
    [ "$DRIVE_EXIT_STATUS" -eq 0 ] || fail "File > Quit: exit status $DRIVE_EXIT_STATUS"
    [ "$(recovery_files | wc -l)" -eq $((before - 1)) ] || fail "Discard at Quit kept the recovery file"
    DRIVE_PID=
}

# sprite_lines LIGHT DARK: the code text of a new file with one sprite.
sprite_lines() {
    printf '\nstatic unsigned char Spritelight[]={%s};\nstatic unsigned char Spritedark[]={%s};' "$1" "$2"
}

# A signal right after a change: the program keeps the work and exits 0.
signal_round() {
    local signal=$1 file=$DRIVE_WORK/$1/sprites.h
    mkdir -p "$DRIVE_WORK/$signal"
    rm -rf "$XDG_DATA_HOME"
    drive_log "--- SIG$signal"

    drive_start "$launcher" "$file" || fail "start"
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
    drive_wait_code "$DRIVE_WORK/$signal/expected.txt" "$DRIVE_WORK/$signal/before.txt" \
        || fail "code text before the end"

    kill -"$signal" "$DRIVE_PID"
    local status=0
    wait "$DRIVE_PID" || status=$?
    drive_log "SIG$signal: the program ended with status $status"
    [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status, not 0"
    [ "$(recovery_files | wc -l)" -eq 1 ] || fail "SIG$signal left no recovery file"
    [ -e "$file" ] && fail "SIG$signal: the unsaved work was written to $file"

    recover "$file" "$DRIVE_WORK/$signal/expected.txt"
    drive_log "SIG$signal: the recovered code text matches byte for byte"
    quit_discarding
    [ -z "$(recovery_files)" ] || fail "a recovery file stays after Discard at Quit"
    [ -e "$file" ] && fail "Discard wrote $file"
}

# SIGKILL after 8 s of presses one second apart, down the diagonal in black:
# after k presses, rows 0 to k-1 hold one bit each.
kill_round() {
    local file=$DRIVE_WORK/KILL/sprites.h
    mkdir -p "$DRIVE_WORK/KILL"
    rm -rf "$XDG_DATA_HOME"
    drive_log "--- SIGKILL after 8 s of edits"
    drive_start "$launcher" "$file" || fail "start"
    drive_locate || fail "locate the editor"
    drive_pick_colour 3 || fail "pick black"
    local start=$EPOCHREALTIME times=() i
    for i in 0 1 2 3 4 5 6 7; do
        # One second apart, whatever each press takes.
        sleep "$(awk -v s="$start" -v now="$EPOCHREALTIME" -v i="$i" 'BEGIN { w = s + i - now; print (w > 0 ? w : 0) }')"
        drive_paint "$i" "$i" || fail "paint"
        times+=("$EPOCHREALTIME")
    done
    sleep "$(awk -v s="$start" -v now="$EPOCHREALTIME" 'BEGIN { w = s + 8 - now; print (w > 0 ? w : 0) }')"
    local killed=$EPOCHREALTIME
    kill -KILL "$DRIVE_PID"
    wait "$DRIVE_PID" 2>/dev/null
    DRIVE_PID=

    # Every press done 5 s or more before the kill must be in the file.
    local needed=0
    for i in "${!times[@]}"; do
        awk -v t="${times[$i]}" -v k="$killed" 'BEGIN { exit !(t <= k - 5) }' && needed=$((i + 1))
    done
    local kept
    kept=$(recovery_files)
    [ "$(printf '%s\n' "$kept" | grep -c .)" -eq 1 ] || fail "SIGKILL: no recovery file 8 s into the edits"
    local light
    light=$(grep -ao 'Spritelight\[\]={[^}]*}' "$kept" | sed 's/.*{//; s/}//')
    local k=0 bytes=() row
    IFS=, read -r -a bytes <<<"$light"
    for row in 0 1 2 3 4 5 6 7; do
        [ "${bytes[$row]:-}" = "$(printf '0x%02x' $((0x80 >> row)))" ] || break
        k=$((row + 1))
    done
    local light_k="" r
    for r in 0 1 2 3 4 5 6 7; do
        light_k+=$([ "$r" -lt "$k" ] && printf '0x%02x' $((0x80 >> r)) || printf '0x00')
        [ "$r" -lt 7 ] && light_k+=,
    done
    sprite_lines "$light_k" "$light_k" >"$DRIVE_WORK/KILL/expected.txt"
    drive_log "SIGKILL: the recovery file holds $k of 8 presses; $needed were made 5 s or more before the kill"
    [ "$k" -ge "$needed" ] || fail "SIGKILL: the recovery file is older than 5 s ($k presses kept, $needed needed)"
    [ "$k" -ge 1 ] || fail "SIGKILL: the recovery file holds no press"
    cmp -s <(tail -c "$(stat -c %s "$DRIVE_WORK/KILL/expected.txt")" "$kept") "$DRIVE_WORK/KILL/expected.txt" \
        || fail "SIGKILL: the recovery file holds another text than $k presses make"

    recover "$file" "$DRIVE_WORK/KILL/expected.txt"
    drive_log "SIGKILL: the recovered code text matches"
    quit_discarding
}

# Two instances killed: both offered at the next start, the newest first;
# Keep for Later leaves it for the start after, where it is offered again.
two_instances_round() {
    mkdir -p "$DRIVE_WORK/two"
    rm -rf "$XDG_DATA_HOME"
    drive_log "--- two instances killed"
    drive_start "$launcher" "$DRIVE_WORK/two/first.h" || fail "start the first"
    local first=$DRIVE_PID
    drive_locate && drive_pick_colour 3 && drive_paint 0 0 || fail "paint in the first"
    wait_recovery_files 1 || fail "the first wrote no recovery file"
    sleep 0.1
    drive_start "$launcher" "$DRIVE_WORK/two/second.h" || fail "start the second"
    local second=$DRIVE_PID
    drive_locate && drive_pick_colour 3 && drive_paint 7 7 || fail "paint in the second"
    wait_recovery_files 2 || fail "the second wrote no recovery file"
    kill -KILL "$first" "$second"
    wait "$first" "$second" 2>/dev/null
    DRIVE_PID=
    sprite_lines 0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00 0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00 \
        >"$DRIVE_WORK/two/first.txt"
    sprite_lines 0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01 0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01 \
        >"$DRIVE_WORK/two/second.txt"

    # The second's work is the newer: offered first, kept for later; then
    # the first's, recovered.
    drive_start "$launcher" || fail "start the third"
    local asked
    asked=$(answer_prompt alt+k) || fail "no first recovery prompt, or Keep for Later left it open"
    answer_prompt alt+r "$asked" >/dev/null || fail "the other work was not offered after Keep for Later"
    drive_locate || fail "locate the editor after Recover"
    drive_wait_code "$DRIVE_WORK/two/first.txt" "$DRIVE_WORK/recovered.txt" \
        || fail "the older work was not the one offered second"
    quit_discarding
    [ "$(recovery_files | wc -l)" -eq 1 ] || fail "the work kept for later is gone"

    recover "" "$DRIVE_WORK/two/second.txt"
    quit_discarding
    [ -z "$(recovery_files)" ] || fail "a recovery file stays"
    drive_log "both were offered, one after the other"
}

kill_round
for signal in TERM HUP INT QUIT; do
    signal_round "$signal"
done
two_instances_round
trap - EXIT
drive_log "passed"
