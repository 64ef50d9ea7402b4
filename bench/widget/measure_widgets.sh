#!/usr/bin/env bash
# Whole-process measures of heliora-widgets with three placed widgets (small, medium, large) under Xvfb:
# - start-up: from starting the program until it has drawn the three pictures (its --verbose log) and until
#   its three widget windows are mapped (both polled every 10 ms);
# - memory: VmRSS and VmHWM after the widgets are shown;
# - CPU over a span with the reload interval forced (HELIORA_WIDGET_RELOAD_S): user + system time of the host
#   from /proc, as a share of one core; and, second by second, the host's context switches and CPU ticks, to
#   show that it does nothing between reloads.
# usage: bench/widget/measure_widgets.sh [HELIORA_WIDGETS] [SECONDS] [RELOAD_S]
#        (defaults: build/release/src/widget-host/heliora-widgets, 600, 10)
set -euo pipefail
host=${1:-build/release/src/widget-host/heliora-widgets}
span=${2:-600}
reload=${3:-10}
host=$(realpath "$host")

if [ -z "${HELIORA_BENCH_DISPLAY_READY:-}" ]; then
    exec env HELIORA_BENCH_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$host" "$span" "$reload"
fi

scratch=$(mktemp -d)
chmod 700 "$scratch"
trap 'kill -KILL "${pid:-0}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/heliora"
cat >"$scratch/config/heliora/heliora-widgets.json" <<'JSON'
{"version": 1, "widgets": [
 {"kind": "SolarSystemWidget", "family": "small", "screen": "", "x": 20, "y": 20},
 {"kind": "PlanetsListWidget", "family": "medium", "screen": "", "x": 220, "y": 20},
 {"kind": "SolarSystemWidget", "family": "large", "screen": "", "x": 20, "y": 240}]}
JSON
log=$scratch/host.log
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() { awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$1/status"; }

: >"$log"
start=$(date +%s.%N)
XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch HELIORA_WIDGET_RELOAD_S=$reload "$host" --verbose 2>"$log" &
pid=$!
mapped= drawn=
while [ -z "$mapped" ] || [ -z "$drawn" ]; do
    [ -z "$drawn" ] && [ "$(grep -c ' drew ' "$log")" -ge 3 ] && drawn=$(date +%s.%N)
    [ -z "$mapped" ] && [ "$(xdotool search --onlyvisible --name '^(Solar System|Planets List)$' 2>/dev/null | wc -l)" -ge 3 ] \
        && mapped=$(date +%s.%N)
    kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
    sleep 0.01
done
# The host draws a widget's picture before it maps its window; the window paints that picture on its first
# expose, so "mapped" is the moment the three widgets are on screen.
awk -v s="$start" -v m="$mapped" -v d="$drawn" \
    'BEGIN { printf "start-up: three pictures drawn (logged) after %.0f ms, three widget windows mapped after %.0f ms\n", (d - s) * 1000, (m - s) * 1000 }'

sleep 2
grep -E '^(VmRSS|VmHWM)' "/proc/$pid/status" | sed 's/^/memory: /'

echo "CPU: ${span} s with the reload interval forced to ${reload} s ..."
first_ticks=$(cpu_ticks "$pid")
first_drawn=$(grep -c ' drew ' "$log")
busy_seconds=0 quiet_seconds=0
previous_switches=$(switches "$pid") previous_ticks=$first_ticks
for ((s = 0; s < span; ++s)); do
    sleep 1
    now_switches=$(switches "$pid") now_ticks=$(cpu_ticks "$pid")
    if [ "$now_switches" -ne "$previous_switches" ] || [ "$now_ticks" -ne "$previous_ticks" ]; then
        busy_seconds=$((busy_seconds + 1))
    else
        quiet_seconds=$((quiet_seconds + 1))
    fi
    previous_switches=$now_switches previous_ticks=$now_ticks
done
ticks=$(($(cpu_ticks "$pid") - first_ticks))
reloads=$(($(grep -c ' drew ' "$log") - first_drawn))
printf 'CPU: %d ticks of %d per second in %d s = %.3f %% of one core; %d pictures drawn (%d reload rounds)\n' \
    "$ticks" "$ticks_per_second" "$span" "$(awk -v t="$ticks" -v h="$ticks_per_second" -v s="$span" 'BEGIN { print t * 100 / h / s }')" \
    "$reloads" "$((reloads / 3))"
echo "seconds with any context switch or CPU tick of the host: $busy_seconds; seconds with none: $quiet_seconds"
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=
