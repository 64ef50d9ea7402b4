#!/usr/bin/env bash
# What the settings window costs, under a virtual X server (Qt's xcb platform, as on a desktop):
#   1. Ctrl+, to the settings window's first painted frame, and the resident memory that the open window adds
#      (settings_window_open: the real application object, RUNS opens and closes; the first open separately);
#   2. CPU seconds per minute of wall time while heliora runs at normal speed with its main window alone, and
#      with the settings window open on General (whose date link follows the clock) beside it, alternating.
#
# usage: bench/app/measure_settings.sh [BUILD_DIR] [SECONDS] [RUNS]     (defaults: build/release, 60, 20)
# Needs xvfb-run, xauth and xdotool (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
seconds=${2:-60}
runs=${3:-20}

if [ -z "${HELIORA_BENCH_DISPLAY_READY:-}" ]; then
    exec env HELIORA_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" \
        "$seconds" "$runs"
fi

heliora=$build/src/app/heliora
opener=$build/bench/app/settings_window_open
for program in "$heliora" "$opener"; do
    [ -x "$program" ] || { echo "missing $program; build the release preset first" >&2; exit 2; }
done
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
chmod 700 "$work"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work
ticks_per_second=$(getconf CLK_TCK)

echo "Ctrl+, to the painted settings window, and the memory it adds ($runs opens):"
echo "  $("$opener" "$runs")"

# CPU seconds used so far by process $1.
cpu_seconds() { awk -v hz="$ticks_per_second" '{ printf "%.3f", ($14 + $15) / hz }' "/proc/$1/stat"; }

measure() {
    local label=$1
    shift
    "$heliora" "$@" >/dev/null 2>&1 &
    pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name '^Heliora$' >/dev/null
    sleep 2 # let start-up settle
    local before after
    before=$(cpu_seconds "$pid")
    sleep "$seconds"
    after=$(cpu_seconds "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
    awk -v l="$label" -v b="$before" -v a="$after" -v s="$seconds" \
        'BEGIN { printf "  %-34s %.2f s CPU per minute (%.2f %% of a core) over %d s\n", l, (a - b) * 60 / s, (a - b) * 100 / s, s }'
}

echo "heliora's CPU at normal speed (1x):"
for _ in 1 2; do
    measure "main window alone"
    measure "main and settings window (General)" --settings general
done
