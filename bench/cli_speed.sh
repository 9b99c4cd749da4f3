#!/usr/bin/env bash
# Wall time of `bitloom check` on a sheet of 101 sprites against
# `bitloom --version`, the program's start-up and exit with no work.
#
#   bench/cli_speed.sh [BUILD_DIR] [RUNS]
#
# Both run headless (no DISPLAY, no platform plugin chosen), RUNS times
# each, interleaved. Prints the medians in milliseconds and their ratio,
# and exits with 1 when check takes more than 1.5 times as long.
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

version_times=$work/version
check_times=$work/check
timed --version >/dev/null # warm the file cache once
for ((i = 0; i < runs; ++i)); do
    timed --version >>"$version_times"
    timed check "$sheet" >>"$check_times"
done
version=$(median <"$version_times")
check=$(median <"$check_times")
ratio=$(awk -v a="$check" -v b="$version" 'BEGIN { printf "%.2f", a / b }')
echo "bitloom --version: median ${version} ms of $runs runs"
echo "bitloom check (101 sprites): median ${check} ms of $runs runs"
echo "ratio check / --version: $ratio (limit 1.50)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }'
