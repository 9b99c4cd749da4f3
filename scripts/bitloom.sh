#!/usr/bin/env bash
# Sets up a Debian 12 machine for Bitloom and builds it.
#   scripts/bitloom.sh run    install what is missing, build, start the program
#   scripts/bitloom.sh test   install what is missing, build, run every test headless
#   scripts/bitloom.sh install [PREFIX]
#                             install what is missing, build for release and install
#                             the program, its manual page, desktop entry and icon
#                             under PREFIX (default ~/.local); the files installed
#                             are listed in build-release/install_manifest.txt
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
install)
    prefix=${2:-$HOME/.local}
    install_missing "${run_packages[@]}"
    configure_and_build release
    cmake --install build-release --prefix "$prefix"
    # Desktops find a new entry and icon once their caches know of them.
    if command -v update-desktop-database >/dev/null; then
        update-desktop-database -q "$prefix/share/applications" || true
    fi
    if command -v gtk-update-icon-cache >/dev/null && [ -f "$prefix/share/icons/hicolor/index.theme" ]; then
        gtk-update-icon-cache -q "$prefix/share/icons/hicolor" || true
    fi
    case ":$PATH:" in
    *":$prefix/bin:"*) ;;
    *) echo "Note: $prefix/bin is not on PATH; add it, e.g. in ~/.profile:" \
            "export PATH=\"$prefix/bin:\$PATH\"" ;;
    esac
    echo "Installed under $prefix. To uninstall: xargs rm -f < $here/build-release/install_manifest.txt"
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
    echo "usage: $0 run|test|install [PREFIX]" >&2
    exit 2
    ;;
esac
