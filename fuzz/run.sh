#!/usr/bin/env bash
# Builds a core fuzzer with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# in its own build folder and runs it for a bounded time.
#   fuzz/run.sh [seconds [target]]     default 60 fuzz_core
# Targets: fuzz_core (editing sessions, seeds in fuzz/corpus) and fuzz_open
# (files opened, edited, saved and opened again, seeds in fuzz/corpus_open).
# Exits non-zero when the fuzzer finds a crash or a broken invariant; the
# input that did it is kept in the build folder as crash-*.
set -euo pipefail

seconds="${1:-60}"
target="${2:-fuzz_core}"
# Both fuzzers run with a short allocation history and a small quarantine:
# AddressSanitizer otherwise keeps every freed copy of a long text for a
# while (256 MB of them by default), and a long run then reaches libFuzzer's
# memory limit without any fault. fuzz_open builds the same options in.
# Files are read up to the 4 MiB limit and a little beyond it, so that
# fuzz_open can reach the limit; libFuzzer grows its inputs slowly, so short
# runs stay at small inputs (and their speed) anyway.
allocator=malloc_context_size=2:quarantine_size_mb=16
case "$target" in
fuzz_core) seeds=corpus; limits=() ;;
fuzz_open) seeds=corpus_open; limits=(-max_len=$((4 * 1024 * 1024 + 64 * 1024))) ;;
*) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BITLOOM_FUZZ_BUILD:-$root/build-fuzz}"

# The fuzz preset (clang, the fuzzers only), in its own build folder.
cd "$root"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target "$target"

# The corpus grows in a scratch copy; the repository keeps only its seeds.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$root/fuzz/$seeds"/* "$work/corpus/"
# Files are also seeded with the hand-written headers of the tests, in every
# declaration shape the program reads, and with the tile files in other
# tools' shapes.
if [ "$target" = fuzz_open ]; then
    for header in "$root"/tests/core/headers/*.h "$root"/tests/core/headers/tiles/*.[ch]; do
        cp "$header" "$work/corpus/header_$(basename "$header")"
    done
fi

status=0
ASAN_OPTIONS="$allocator${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
    "$build/fuzz/$target" -max_total_time="$seconds" "${limits[@]}" -print_final_stats=1 \
    -artifact_prefix="$build/" "$work/corpus" >"$work/log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|after operation|fuzz_open:)' \
    "$work/log" || true
if [ "$status" -ne 0 ]; then
    echo "$target failed (exit $status); last lines of its log:" >&2
    tail -n 40 "$work/log" >&2
    exit "$status"
fi
echo "$target ran ${seconds}s: $(grep -oE 'number_of_executed_units: *[0-9]+' "$work/log" | grep -oE '[0-9]+$') executions, no failure"
