#!/usr/bin/env bash
# The CPU that a running heliora costs, as whole processes on virtual X servers (Qt's xcb platform, as on a
# desktop), in CPU seconds (user + system, all threads) per minute of wall time:
#
#   1. top speed, 10^8 x, against a naive floor: heliora and naive_orrery (a 400 x 400 window that strokes 9 rings
#      and fills 10 discs on every frame of the same animation) run at the same time, each on an X server of its
#      own, and swap servers every round. Frames are counted on each server with the X DAMAGE extension
#      (damage_frames). Per round: each one's CPU per minute and frames per second, and heliora's CPU over the
#      floor's; then medians with the least and most value, at QT_SCALE_FACTOR 1 and 2.
#   2. normal speed, 1 x: heliora's CPU per minute (the planets move a quarter degree every few minutes), beside the
#      same 400 x 400 window that only keeps its 0.5 s tick (naive_orrery --heartbeat-only): what waking up twice a
#      second costs any Qt program.
#
# Heliora reaches its top speed as a user gets there: five clicks on the forward button (xdotool).
#
# usage: bench/app/measure_cpu.sh [BUILD_DIR] [SECONDS] [ROUNDS]     (defaults: build/release, 60, 5)
#   SCALES="1 2" and PARTS="top normal" choose what runs.
# Needs Xvfb, xdotool, libx11-dev and libxdamage-dev (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
source "$(dirname "$0")/common.sh"
seconds=${2:-60}
rounds=${3:-5}
scales=${SCALES:-1 2}
parts=${PARTS:-top normal}
floor=$(program naive_orrery)
frames=$(program damage_frames)

start_x_server
first=$x_display
start_x_server
second=$x_display

# Starts heliora on display $1 at scale $2 and clicks its forward button $3 times; sets heliora_pid.
start_heliora() {
    local display=$1 scale=$2 clicks=$3
    start_on "$display" env QT_SCALE_FACTOR="$scale" "$heliora"
    heliora_pid=$started_pid
    local window WIDTH HEIGHT X Y SCREEN
    window=$(DISPLAY=:$display timeout 30 xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1)
    eval "$(DISPLAY=:$display xdotool getwindowgeometry --shell "$window")"
    # The forward button: 64 points right of the middle of the 500-point-wide window, 32 above its bottom.
    local x y
    x=$(awk -v s="$scale" 'BEGIN { printf "%d", 314 * s }')
    y=$(awk -v s="$scale" -v h="$HEIGHT" 'BEGIN { printf "%d", h - 32 * s }')
    for _ in $(seq "$clicks"); do
        DISPLAY=:$display xdotool mousemove --window "$window" "$x" "$y" click 1
        sleep 0.2
    done
    DISPLAY=:$display xdotool mousemove --window "$window" 0 0
}

# Per round of the top speed: scale heliora_cpu heliora_fps floor_cpu floor_fps ratio.
top_speed() {
    local scale=$1 results=$bench_work/top.$1
    : >"$results"
    for round in $(seq "$rounds"); do
        alternate_servers "$round"
        start_heliora "$here" "$scale" 5
        start_on "$there" env QT_SCALE_FACTOR="$scale" "$floor"
        local floor_pid=$started_pid
        sleep 2 # start-up and the clicks settle
        local fps
        fps=$(DISPLAY=:$here "$frames" count 1 | sed 's/.*"fps": \([0-9.]*\).*/\1/')
        awk -v f="$fps" 'BEGIN { exit !(f >= 20) }' || {
            echo "heliora paints $fps frames a second: not at its top speed" >&2
            exit 1
        }
        local h0 f0 h1 f1
        h0=$(cpu_ns "$heliora_pid")
        f0=$(cpu_ns "$floor_pid")
        DISPLAY=:$here "$frames" count "$seconds" >"$bench_work/heliora.json" &
        local counting=$!
        DISPLAY=:$there "$frames" count "$seconds" >"$bench_work/floor.json"
        wait "$counting"
        h1=$(cpu_ns "$heliora_pid")
        f1=$(cpu_ns "$floor_pid")
        stop "$heliora_pid"
        stop "$floor_pid"
        local hf ff
        hf=$(sed 's/.*"fps": \([0-9.]*\).*/\1/' "$bench_work/heliora.json")
        ff=$(sed 's/.*"fps": \([0-9.]*\).*/\1/' "$bench_work/floor.json")
        awk -v s="$seconds" -v h="$((h1 - h0))" -v f="$((f1 - f0))" -v hf="$hf" -v ff="$ff" -v sc="$scale" 'BEGIN {
            hc = h / 1e9 * 60 / s; fc = f / 1e9 * 60 / s
            printf "%s %.4f %.2f %.4f %.2f %.4f\n", sc, hc, hf, fc, ff, hc / fc }' >>"$results"
        awk -v r="$round" '{ printf "    round %d: heliora %.3f s/min at %.1f fps, floor %.3f s/min at %.1f fps, ratio %.3f\n",
            r, $2, $3, $4, $5, $6 }' <(tail -n 1 "$results")
    done
    local hc hf fc ff ratio
    hc=$(median_range "$results" 2)
    hf=$(median_range "$results" 3)
    fc=$(median_range "$results" 4)
    ff=$(median_range "$results" 5)
    ratio=$(median_range "$results" 6)
    echo "  scale $scale, medians (least-most) of $rounds rounds of $seconds s:"
    echo "$hc $hf" | awk '{ printf "    heliora %.3f s CPU/min (%.3f-%.3f) at %.1f fps (%.1f-%.1f)\n", $1, $2, $3, $4, $5, $6 }'
    echo "$fc $ff" | awk '{ printf "    floor   %.3f s CPU/min (%.3f-%.3f) at %.1f fps (%.1f-%.1f)\n", $1, $2, $3, $4, $5, $6 }'
    echo "$ratio" | awk '{ printf "    heliora / floor %.3f (%.3f-%.3f)\n", $1, $2, $3 }'
}

# Per round of the normal speed: heliora_cpu heliora_fps heartbeat_cpu, beside naive_orrery --heartbeat-only.
normal_speed() {
    local results=$bench_work/normal
    : >"$results"
    for round in $(seq "$rounds"); do
        alternate_servers "$round"
        start_heliora "$here" 1 0
        start_on "$there" "$floor" --heartbeat-only
        local beat_pid=$started_pid
        sleep 2
        local h0 b0 h1 b1
        h0=$(cpu_ns "$heliora_pid")
        b0=$(cpu_ns "$beat_pid")
        DISPLAY=:$here "$frames" count "$seconds" >"$bench_work/heliora.json"
        h1=$(cpu_ns "$heliora_pid")
        b1=$(cpu_ns "$beat_pid")
        stop "$heliora_pid"
        stop "$beat_pid"
        local hf
        hf=$(sed 's/.*"fps": \([0-9.]*\).*/\1/' "$bench_work/heliora.json")
        awk -v s="$seconds" -v h="$((h1 - h0))" -v b="$((b1 - b0))" -v hf="$hf" \
            'BEGIN { printf "%.5f %.3f %.5f\n", h / 1e9 * 60 / s, hf, b / 1e9 * 60 / s }' >>"$results"
        awk -v r="$round" '{ printf "    round %d: heliora %.4f s CPU/min, %.2f fps; heartbeat alone %.4f s CPU/min\n", r, $1, $2, $3 }' \
            <(tail -n 1 "$results")
    done
    echo "  normal speed, medians (least-most) of $rounds rounds of $seconds s:"
    median_range "$results" 1 | awk '{ printf "    heliora         %.4f s CPU/min (%.4f-%.4f)\n", $1, $2, $3 }'
    median_range "$results" 3 | awk '{ printf "    heartbeat alone %.4f s CPU/min (%.4f-%.4f), a window that only wakes twice a second\n", $1, $2, $3 }'
}

for part in $parts; do
    case $part in
    top)
        echo "top speed (10^8 x) against the naive floor, on two X servers at once"
        for scale in $scales; do
            top_speed "$scale"
        done
        ;;
    normal)
        echo "normal speed (1 x), beside a window that only keeps a 0.5 s heartbeat"
        normal_speed
        ;;
    esac
done
