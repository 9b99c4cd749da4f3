#!/usr/bin/env bash
# Wall time of `bitloom check` on a sheet of 101 sprites, and of `bitloom
# convert` of that sheet to each layout, against `bitloom --version`, the
# program's start-up and exit with no work.
#
#   bench/cli_speed.sh [BUILD_DIR] [RUNS]
#
# Both run headless (no DISPLAY, no platform plugin chosen), RUNS times
# each, interleaved. Prints the medians in milliseconds and their ratios,
# and exits with 1 when any takes more than 1.5 times as long.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-21}
bitloom=$build/src/bitloom
[[ -x $bitloom ]] || { echo "missing $bitloom (build the project first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sheet=$work/sprites.h
{
    echo '#pragma once'
    for ((i = 0; i < 101; ++i)); do
        printf 'static unsigned char sprite%dlight[]={0x%02X,0x81,0x42,0x24,0x18,0x24,0x42,0x81};\n' "$i" $((i & 255))
        printf 'static unsigned char sprite%ddark[]={0xFF,0x00,0x%02X,0x00,0xFF,0x00,0xFF,0x00};\n' "$i" $((i * 3 & 255))
    done
} >"$sheet"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run of the program with these arguments: prints its wall time in ms.
timed() {
    local start end
    start=$(date +%s%N)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bitloom" "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e6 }'
}

# The sheet must check clean, or the timing would be of an error path.
env -u DISPLAY -u QT_QPA_PLATFORM "$bitloom" check "$sheet"

layouts=(gb nes rows rows-lsb columns pairs)
version_times=$work/version
check_times=$work/check
timed --version >/dev/null # warm the file cache once
for ((i = 0; i < runs; ++i)); do
    timed --version >>"$version_times"
    timed check "$sheet" >>"$check_times"
    for layout in "${layouts[@]}"; do
        timed convert "$sheet" -o "$work/out.h" --layout "$layout" >>"$work/convert-$layout" 2>/dev/null
    done
done
version=$(median <"$version_times")
echo "bitloom --version: median ${version} ms of $runs runs"
status=0
# Prints one measurement's median and ratio; the status turns 1 above 1.5.
report() {
    local label=$1 times=$2 value ratio
    value=$(median <"$times")
    ratio=$(awk -v a="$value" -v b="$version" 'BEGIN { printf "%.2f", a / b }')
    echo "bitloom $label (101 sprites): median ${value} ms, ratio to --version $ratio (limit 1.50)"
    awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }' || status=1
}
report check "$check_times"
for layout in "${layouts[@]}"; do
    report "convert --layout $layout" "$work/convert-$layout"
done
exit $status
