#!/usr/bin/env bash
# Sets up a Debian 12 machine for Bitloom and builds it.
#   scripts/bitloom.sh run    install what is missing, build, start the program
#   scripts/bitloom.sh test   install what is missing, build, run every test headless
# Both build with the presets of CMakePresets.json: run with "release"
# (build-release/), test with "asan" (build-asan/), "fuzz" (build-fuzz/) and
# "dev" (build/, where the program is build/src/bitloom).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-run}
# The formatting test: every source against .clang-format.
format_check=ON

run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev)
test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool xclip imagemagick
               desktop-file-utils appstream clang libclang-rt-14-dev clang-format)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# configure_and_build PRESET [CMAKE_OPTION...]: the presets are in
# CMakePresets.json (dev, release, asan, fuzz).
configure_and_build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@"
    cmake --build --preset "$preset" --parallel "$(nproc)"
}

cd "$here"
case "$mode" in
run)
    install_missing "${run_packages[@]}"
    configure_and_build release
    exec "$here/build-release/src/bitloom"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    export QT_QPA_PLATFORM=offscreen
    # The core under AddressSanitizer and UndefinedBehaviorSanitizer.
    configure_and_build asan
    ctest --preset asan
    # The fuzzers, for a bounded time: editing sessions, then files opened,
    # edited, saved and opened again.
    "$here/fuzz/run.sh" 60 fuzz_core
    "$here/fuzz/run.sh" 30 fuzz_open
    # Everything else, warnings as errors, the benchmarks built too so that
    # they keep compiling; the summary line of the tests closes the run.
    configure_and_build dev -DBITLOOM_FORMAT_CHECK=$format_check
    ctest --preset dev
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
