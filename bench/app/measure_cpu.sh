#!/usr/bin/env bash
# CPU that a running heliora costs, under a virtual X server (Qt's xcb platform, as on a desktop): process CPU
# seconds (user + system, from /proc) per minute of wall time with the main window showing and the clock playing
#   1. at normal speed (real time: the planets move a quarter degree at most every few minutes),
#   2. at the top speed, 10^8 x (every planet moves every tick).
# The top speed is reached as a user reaches it: five clicks on the forward button.
#
# usage: bench/app/measure_cpu.sh [BUILD_DIR] [SECONDS]     (defaults: build/release, 60)
# Needs xvfb-run, xauth and xdotool (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
seconds=${2:-60}

if [ -z "${HELIORA_BENCH_DISPLAY_READY:-}" ]; then
    exec env HELIORA_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" "$seconds"
fi

heliora=$build/src/app/heliora
[ -x "$heliora" ] || { echo "missing $heliora; build the release preset first" >&2; exit 2; }
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work
ticks_per_second=$(getconf CLK_TCK)

# CPU seconds used so far by process $1.
cpu_seconds() { awk -v hz="$ticks_per_second" '{ printf "%.3f", ($14 + $15) / hz }' "/proc/$1/stat"; }

measure() {
    local label=$1 clicks=$2
    "$heliora" >/dev/null 2>&1 &
    pid=$!
    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local toolbar=$((HEIGHT - 700))
    for _ in $(seq "$clicks"); do
        xdotool mousemove --window "$window" $((250 + 64)) $((toolbar + 700 - 32)) click 1
        sleep 0.2
    done
    sleep 2 # let start-up and the clicks settle
    local before after
    before=$(cpu_seconds "$pid")
    sleep "$seconds"
    after=$(cpu_seconds "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
    awk -v l="$label" -v b="$before" -v a="$after" -v s="$seconds" \
        'BEGIN { printf "  %-22s %.2f s CPU per minute (%.2f %% of a core) over %d s\n", l, (a - b) * 60 / s, (a - b) * 100 / s, s }'
}

echo "heliora's CPU while its main window runs"
measure "normal speed (1x)" 0
measure "top speed (10^8 x)" 5
