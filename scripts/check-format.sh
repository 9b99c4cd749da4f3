#!/usr/bin/env bash
# Checks every tracked C++ source (.h and .cpp under src, tests, bench and
# fuzz, but for the sample headers the tests and fuzzers read as data)
# against .clang-format without changing any file. Prints what would
# change and exits 1 when a file is off; exits 77 (skipped, as CTest is told)
# when clang-format is missing.
#   scripts/check-format.sh            check
#   CLANG_FORMAT=clang-format-14 scripts/check-format.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
format=${CLANG_FORMAT:-}
if [ -z "$format" ]; then
    for candidate in clang-format clang-format-14; do
        command -v "$candidate" >/dev/null && { format=$candidate; break; }
    done
fi
[ -n "$format" ] && command -v "$format" >/dev/null \
    || { echo "format check: SKIPPED: clang-format is missing" >&2; exit 77; }

# The tracked files when this is a git checkout, otherwise what is on disk.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' \
                                         'bench/*.h' 'bench/*.cpp' 'fuzz/*.h' 'fuzz/*.cpp' \
                                         ':!tests/core/headers/*' ':!tests/core/convert/*' ':!fuzz/corpus*')
else
    mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.h' -o -name '*.cpp' \) \
                             -not -path 'tests/core/headers/*' -not -path 'tests/core/convert/*' -not -path 'fuzz/corpus*' | sort)
fi
# A tracked file deleted in the working tree is not checked.
existing=()
for file in "${files[@]}"; do
    [ -f "$file" ] && existing+=("$file")
done
files=("${existing[@]}")
[ ${#files[@]} -gt 0 ] || { echo "format check: no sources found under $root" >&2; exit 1; }

if "$format" --dry-run -Werror "${files[@]}"; then
    echo "format check: ${#files[@]} files match .clang-format ($("$format" --version))"
else
    echo "format check: FAILED; apply it with: $format -i FILE..." >&2
    exit 1
fi
