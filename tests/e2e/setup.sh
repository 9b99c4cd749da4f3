# The start every end-to-end script shares, sourced as
#   source "$here/setup.sh" SECONDS "$@"     (the script's own arguments:
#                                             BITLOOM [WORK_DIR [SCALE]])
# Without one of the tools it needs, the run is skipped (77, as CTest is
# told). Otherwise the script runs again on an X server of its own, for at
# most SECONDS; there, it gets a work folder (WORK_DIR/last-run, kept, or a
# scratch one) holding the program's runtime, data and settings folders, so
# that no lock, recovery or settings file of the user's is touched, the drive
# functions, and fail(), which keeps a screenshot of the failure.
# shellcheck shell=bash

e2e_seconds=$1
shift
binary=${1:?usage: $(basename "$0") BITLOOM [WORK_DIR [SCALE]]}
scale=${3:-1}

# Start our own X server and run again inside it; never use the caller's.
if [ -z "${BITLOOM_E2E_INSIDE:-}" ]; then
    for tool in xvfb-run xauth xdotool xclip import convert timeout; do
        command -v "$tool" >/dev/null || { echo "e2e: SKIPPED: $tool is missing" >&2; exit 77; }
    done
    export BITLOOM_E2E_INSIDE=1
    exec timeout "$e2e_seconds" xvfb-run -a -s "-screen 0 $((1280 * scale))x$((1024 * scale))x24 -nolisten tcp" \
        bash "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale
unset QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING BITLOOM_STATE_DIR

if [ -n "${2:-}" ]; then
    DRIVE_WORK=$2/last-run
    rm -rf "$DRIVE_WORK"
    mkdir -p "$DRIVE_WORK"
else
    DRIVE_WORK=$(mktemp -d)
fi
export XDG_RUNTIME_DIR=$DRIVE_WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_DATA_HOME=$DRIVE_WORK/data XDG_CONFIG_HOME=$DRIVE_WORK/config
# shellcheck source=drive.sh
source "$(dirname "${BASH_SOURCE[0]}")/drive.sh"
trap drive_stop EXIT

fail() {
    drive_snap "$DRIVE_WORK/failure.png" 2>/dev/null
    echo "e2e: FAILED: $*  (screenshot: $DRIVE_WORK/failure.png)" >&2
    exit 1
}
