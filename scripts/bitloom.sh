#!/usr/bin/env bash
# Sets up a Debian 12 machine for Bitloom and builds it.
#   scripts/bitloom.sh run    install what is missing, build, start the program
#   scripts/bitloom.sh test   install what is missing, build, run every test headless
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
mode=${1:-run}

run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev)
test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool xclip imagemagick
               desktop-file-utils appstream clang libclang-rt-14-dev)

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

configure_and_build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$build" --parallel "$(nproc)"
}

case "$mode" in
run)
    install_missing "${run_packages[@]}"
    configure_and_build -DBUILD_TESTING=OFF -DBITLOOM_BUILD_BENCH=OFF
    exec "$build/src/bitloom"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    export QT_QPA_PLATFORM=offscreen
    # The core under AddressSanitizer and UndefinedBehaviorSanitizer.
    cmake -S "$here" -B "$here/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DBITLOOM_SANITIZE=ON -DBITLOOM_BUILD_UI=OFF -DBITLOOM_BUILD_BENCH=OFF
    cmake --build "$here/build-asan" --parallel "$(nproc)"
    ctest --test-dir "$here/build-asan" --output-on-failure
    # The fuzzers, for a bounded time: editing sessions, then files opened,
    # edited, saved and opened again.
    "$here/fuzz/run.sh" 60 fuzz_core
    "$here/fuzz/run.sh" 30 fuzz_open
    # Everything else, the benchmarks built too so that they keep compiling;
    # the summary line of the tests closes the run.
    configure_and_build -DBUILD_TESTING=ON -DBITLOOM_BUILD_BENCH=ON
    ctest --test-dir "$build" --output-on-failure
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
