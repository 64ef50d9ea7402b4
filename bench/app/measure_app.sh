#!/usr/bin/env bash
# Whole-process measurements of heliora, under a virtual X server (Qt's xcb platform, as on a desktop):
#   1. start-up: wall time from exec to the first frame written by `--screenshot` (as BMP, so that encoding
#      costs next to nothing) and exit, CPU time and peak resident memory, for heliora, for first_run (a first
#      heliora as a user starts it: the single-instance claim, the menu bar and the link router, which a
#      screenshot run leaves out) and for minimal_window (one Qt Widgets window of the same size, measured the
#      same way, alternating with the others in the same run); median and best of RUNS runs each;
#   2. memory after opening and closing 1,000 fact windows (detail_window_churn), on xcb and offscreen.
#
# usage: bench/app/measure_app.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 15)
# Needs xvfb-run, xauth and /usr/bin/time (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
runs=${2:-15}

if [ -z "${HELIORA_BENCH_DISPLAY_READY:-}" ]; then
    exec env HELIORA_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" "$runs"
fi

heliora=$build/src/app/heliora
minimal=$build/bench/app/minimal_window
first=$build/bench/app/first_run
churn=$build/bench/app/detail_window_churn
for program in "$heliora" "$minimal" "$first" "$churn"; do
    [ -x "$program" ] || { echo "missing $program; build the release preset first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb
# Qt wants a private runtime folder; a missing one only costs a warning, but keeps the output clean. first_run's
# single-instance socket goes there too, away from any Heliora of the user's.
export XDG_RUNTIME_DIR=$work

# Runs a program once; appends "wall_microseconds peak_kb cpu_seconds" to $1. CPU time (user + system) does not
# depend on what else the machine is doing, wall time does.
measure_once() {
    local results=$1
    shift
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M %U %S' -o "$work/rss" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(awk '{ print $1, $2 + $3 }' "$work/rss")" >>"$results"
}

# Prints the median and the least value of column $2 of file $1 (plain awk: mawk has no sorting).
median() { sort -n -k "$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
least() { sort -n -k "$2" "$1" | awk -v c="$2" 'NR == 1 { print $c }'; }

echo "start-up to the first frame, $runs runs each, alternating (after one warm-up run each)"
measure_once "$work/warmup" "$heliora" --screenshot "$work/h.bmp"
measure_once "$work/warmup" "$minimal" --screenshot "$work/m.bmp"
measure_once "$work/warmup" "$first" --screenshot "$work/f.bmp"
for _ in $(seq "$runs"); do
    measure_once "$work/heliora" "$heliora" --screenshot "$work/h.bmp"
    measure_once "$work/minimal" "$minimal" --screenshot "$work/m.bmp"
    measure_once "$work/first_run" "$first" --screenshot "$work/f.bmp"
done
for name in heliora first_run minimal; do
    awk -v name="$name" -v tm="$(median "$work/$name" 1)" -v tb="$(least "$work/$name" 1)" \
        -v rm="$(median "$work/$name" 2)" -v rb="$(least "$work/$name" 2)" -v cm="$(median "$work/$name" 3)" 'BEGIN {
        printf "  %-9s time %.1f ms median, %.1f ms best; CPU %.0f ms median; peak RSS %.1f MB median, %.1f MB least\n",
            name, tm / 1000, tb / 1000, cm * 1000, rm / 1024, rb / 1024 }'
done
awk -v h="$(median "$work/heliora" 1)" -v m="$(median "$work/minimal" 1)" \
    -v hr="$(median "$work/heliora" 2)" -v mr="$(median "$work/minimal" 2)" \
    -v hb="$(least "$work/heliora" 1)" -v mb="$(least "$work/minimal" 1)" \
    'BEGIN { printf "  heliora / minimal: time %.2fx (medians), %.2fx (best); peak RSS %.2fx\n", h / m, hb / mb, hr / mr }'
awk -v h="$(median "$work/first_run" 1)" -v m="$(median "$work/minimal" 1)" \
    -v hr="$(median "$work/first_run" 2)" -v mr="$(median "$work/minimal" 2)" \
    -v hb="$(least "$work/first_run" 1)" -v mb="$(least "$work/minimal" 1)" \
    'BEGIN { printf "  first_run / minimal: time %.2fx (medians), %.2fx (best); peak RSS %.2fx\n", h / m, hb / mb, hr / mr }'

echo "memory after opening and closing fact windows one at a time"
for platform in xcb offscreen; do
    printf '  %-9s %s\n' "$platform" "$(QT_QPA_PLATFORM=$platform "$churn" 1000)"
done
