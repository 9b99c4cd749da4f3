#!/usr/bin/env bash
# Start-up of the program's main window against a bare Qt Widgets window.
#
#   bench/ui/startup.sh [BUILD_DIR] [RUNS]
#
# bench_startup_window builds the main window as the program does and quits
# after its first paint; bench_bare_window does the same with an empty
# QMainWindow. Both are timed from process start to exit, with their peak
# resident memory, in RUNS interleaved pairs (the order alternates), first on
# the offscreen platform, then on Xvfb. Under Xvfb the real bitloom
# executable is also timed until its main window is mapped.
# Prints medians and the ratio of the program to the bare window.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-21}
bare=$build/bench/ui/bench_bare_window
program=$build/bench/ui/bench_startup_window
bitloom=$build/src/bitloom
for exe in "$bare" "$program" "$bitloom"; do
    [[ -x $exe ]] || { echo "missing $exe (build the project first)" >&2; exit 1; }
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# One timed run: prints "milliseconds peak_KB".
timed() {
    local memory start end
    memory=$(mktemp)
    start=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$memory" "$1" >/dev/null 2>&1
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" -v m="$(tail -n 1 "$memory")" 'BEGIN { printf "%.2f %d\n", (e - s) * 1000, m }'
    rm -f "$memory"
}

# Time until bitloom's main window is mapped, and its peak memory then. A
# start that could not reach the X server (it happens now and then when
# connections come and go quickly) is tried again, up to three times.
mapped() {
    local start pid ms errors attempt
    errors=$(mktemp)
    for attempt in 1 2 3; do
        start=$EPOCHREALTIME
        "$bitloom" >/dev/null 2>"$errors" &
        pid=$!
        until xdotool search --onlyvisible --name '^BITLOOM by VELDRA SOFTWARE$' >/dev/null 2>&1; do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.002
        done
        if kill -0 "$pid" 2>/dev/null; then
            ms=$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.2f", (e - s) * 1000 }')
            echo "$ms $(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")"
            kill "$pid"
            wait "$pid" 2>/dev/null || true
            rm -f "$errors"
            return
        fi
        wait "$pid" 2>/dev/null || true
        grep -q 'could not connect to display' "$errors" || break
    done
    echo "bitloom exited before its window was mapped:" >&2
    cat "$errors" >&2
    rm -f "$errors"
    exit 1
}

measure() {
    local dir i
    dir=$(mktemp -d)
    for ((i = 0; i < runs; i++)); do
        if ((i % 2)); then
            timed "$program" >>"$dir/program"
            timed "$bare" >>"$dir/bare"
        else
            timed "$bare" >>"$dir/bare"
            timed "$program" >>"$dir/program"
        fi
        [[ $QT_QPA_PLATFORM == xcb ]] && mapped >>"$dir/bitloom"
    done
    local bt bm pt pm
    bt=$(cut -d' ' -f1 "$dir/bare" | median)
    bm=$(cut -d' ' -f2 "$dir/bare" | median)
    pt=$(cut -d' ' -f1 "$dir/program" | median)
    pm=$(cut -d' ' -f2 "$dir/program" | median)
    printf '%-10s %-34s %9s %11s\n' "$QT_QPA_PLATFORM" "median of $runs runs" "time ms" "peak KB"
    printf '%-10s %-34s %9s %11s\n' "" "bench_bare_window" "$bt" "$bm"
    printf '%-10s %-34s %9s %11s\n' "" "bench_startup_window" "$pt" "$pm"
    printf '%-10s %-34s %9s %11s\n' "" "ratio" "$(ratio "$pt" "$bt")" "$(ratio "$pm" "$bm")"
    if [[ -s $dir/bitloom ]]; then
        printf '%-10s %-34s %9s %11s\n' "" "bitloom, start to window mapped" \
            "$(cut -d' ' -f1 "$dir/bitloom" | median)" "$(cut -d' ' -f2 "$dir/bitloom" | median)"
    fi
    rm -rf "$dir"
}

if [[ -n ${BITLOOM_STARTUP_INNER:-} ]]; then
    measure
    exit
fi

export BITLOOM_STARTUP_INNER=1
QT_QPA_PLATFORM=offscreen "$0" "$build" "$runs"
echo
# One X server for all runs, so its own start-up is not counted.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$build" "$runs"
