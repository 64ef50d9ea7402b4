#!/usr/bin/env bash
# What the settings window costs, under a virtual X server (Qt's xcb platform, as on a desktop):
#   1. Ctrl+, to the settings window's first painted frame, and the resident memory that the open window adds
#      (settings_window_open: the real application object, RUNS opens and closes; the first open separately);
#   2. CPU seconds per minute of wall time while heliora runs at normal speed with its main window alone, and
#      with the settings window open on General (whose date link follows the clock) beside it, alternating.
#
# usage: bench/app/measure_settings.sh [BUILD_DIR] [SECONDS] [RUNS]     (defaults: build/release, 60, 20)
# Needs Xvfb and xdotool (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
source "$(dirname "$0")/common.sh"
seconds=${2:-60}
runs=${3:-20}
opener=$(program settings_window_open)
start_x_server
export DISPLAY=:$x_display

echo "Ctrl+, to the painted settings window, and the memory it adds ($runs opens):"
echo "  $("$opener" "$runs")"

measure() {
    local label=$1
    shift
    start_on "$x_display" "$heliora" "$@"
    local pid=$started_pid
    timeout 30 xdotool search --sync --onlyvisible --name '^Heliora$' >/dev/null
    sleep 2 # let start-up settle
    local before after
    before=$(cpu_ns "$pid")
    sleep "$seconds"
    after=$(cpu_ns "$pid")
    stop "$pid"
    awk -v l="$label" -v b="$before" -v a="$after" -v s="$seconds" \
        'BEGIN { c = (a - b) / 1e9; printf "  %-34s %.2f s CPU per minute (%.2f %% of a core) over %d s\n", l, c * 60 / s, c * 100 / s, s }'
}

echo "heliora's CPU at normal speed (1x):"
for _ in 1 2; do
    measure "main window alone"
    measure "main and settings window (General)" --settings general
done
