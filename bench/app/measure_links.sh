#!/usr/bin/env bash
# How fast a link reaches the running Heliora, under a virtual X server (Qt's xcb platform, as on a desktop):
#   1. link_latency: the running Heliora in-process, the real heliora started RUNS times with a date link; from
#      just before the fork to the later heliora's exit, and to the running window's date label painted with the
#      link's day;
#   2. the real heliora running, and RUNS later launches timed from this shell: exec to exit of each (this adds
#      the fork of the shell and of env, about a millisecond).
#
# usage: bench/app/measure_links.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 30)
# Needs Xvfb and xdotool (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${2:-30}
latency=$(program link_latency)
start_x_server
export DISPLAY=:$x_display LANGUAGE=en TZ=UTC
# Dates as 01/09/1991, which link_latency looks for (ICU and Qt carry the locale: it need not be installed).
app_env=(env LC_ALL=en_US.UTF-8)

echo "a later heliora with a link, the running one in-process ($runs launches)"
"${app_env[@]}" "$latency" "$heliora" "$runs"

echo "a later heliora with a link, the running one the real heliora ($runs launches)"
"${app_env[@]}" "$heliora" >"$bench_work/first.log" 2>&1 &
pid=$!
bench_pids+=("$pid")
# Ready once it listens (a launch before that would itself become the first) and has answered a later launch.
deadline=$((SECONDS + 30))
until compgen -G "$bench_work/*.socket" >/dev/null; do
    [ $SECONDS -lt $deadline ] || { echo "the first heliora does not listen" >&2; exit 1; }
    kill -0 "$pid" 2>/dev/null || { cat "$bench_work/first.log" >&2; exit 1; }
    sleep 0.05
done
timeout 30 "${app_env[@]}" "$heliora" || { echo "the first heliora did not answer" >&2; exit 1; }
: >"$bench_work/times"
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 0 ]; then link='heliora://?date=19910109'; else link='heliora://?date=20240131'; fi
    start=$(date +%s%N)
    "${app_env[@]}" "$heliora" -- "$link"
    end=$(date +%s%N)
    echo $(((end - start) / 1000)) >>"$bench_work/times"
done
sort -n "$bench_work/times" | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "  exit  median %.1f ms, best %.1f ms, worst %.1f ms (%d launches)\n", m / 1000, v[1] / 1000, v[NR] / 1000, NR }'
stop "$pid"
