#!/usr/bin/env bash
# Whole-process measurements of heliora's start-up and memory, on a virtual X server of their own (Qt's xcb
# platform, as on a desktop):
#   1. start-up: heliora beside minimal_window (one bare window of the same size with one bold label), RUNS runs each,
#      alternating, after one warm-up run each. Per run: the time from starting the program to its first frame on
#      the screen (the first X DAMAGE on the server, damage_frames first-frame), its peak resident memory at that
#      frame and one second later (what follows the first frame, such as the window icon, included), and its CPU
#      time in all. Medians with the least and most value, and heliora over the bare window.
#   2. memory after opening and closing 1,000 fact windows one at a time (detail_window_churn), on xcb and offscreen.
#
# usage: bench/app/measure_app.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 15)
# Needs Xvfb, libx11-dev and libxdamage-dev (scripts/setup installs them). Build first:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${2:-15}
minimal=$(program minimal_window)
churn=$(program detail_window_churn)
frames=$(program damage_frames)
start_x_server
display=$x_display

# Appends "first_frame_ms rss_at_first_frame_kb peak_rss_kb cpu_ms" of one run of the command to file $1.
measure_once() {
    local results=$1
    shift
    DISPLAY=:$display "$frames" first-frame 1 "$@" 2>/dev/null | sed -e 's/[{}",]//g' \
        | awk '{ for (i = 1; i < NF; i += 2) v[$i] = $(i + 1)
                 print v["first_frame_ms:"], v["rss_at_first_frame_kb:"], v["peak_rss_kb:"], v["cpu_ms:"] }' >>"$results"
}

echo "start-up to the first frame on screen, $runs runs each, alternating (after one warm-up run each)"
measure_once "$bench_work/warmup" "$heliora"
measure_once "$bench_work/warmup" "$minimal"
: >"$bench_work/heliora"
: >"$bench_work/minimal"
for _ in $(seq "$runs"); do
    measure_once "$bench_work/heliora" "$heliora"
    measure_once "$bench_work/minimal" "$minimal"
done
for name in heliora minimal; do
    echo "$(median_range "$bench_work/$name" 1) $(median_range "$bench_work/$name" 2) $(median_range "$bench_work/$name" 3) \
$(median_range "$bench_work/$name" 4)" | awk -v n="$name" '{
        printf "  %-8s first frame %.1f ms (%.1f-%.1f); peak RSS at it %.1f MB (%.1f-%.1f), 1 s later %.1f MB (%.1f-%.1f); CPU %.0f ms (%.0f-%.0f)\n",
            n, $1, $2, $3, $4 / 1024, $5 / 1024, $6 / 1024, $7 / 1024, $8 / 1024, $9 / 1024, $10, $11, $12 }'
done
paste "$bench_work/heliora" "$bench_work/minimal" | awk '{ print $1 / $5, $2 / $6, $3 / $7 }' >"$bench_work/ratios"
echo "$(median_range "$bench_work/ratios" 1) $(median_range "$bench_work/ratios" 2) $(median_range "$bench_work/ratios" 3)" \
    | awk '{ printf "  heliora / bare window, run by run: first frame %.2fx (%.2f-%.2f), peak RSS at it %.2fx (%.2f-%.2f), 1 s later %.2fx (%.2f-%.2f)\n",
        $1, $2, $3, $4, $5, $6, $7, $8, $9 }'

echo "memory after opening and closing fact windows one at a time"
for platform in xcb offscreen; do
    printf '  %-9s %s\n' "$platform" "$(DISPLAY=:$display QT_QPA_PLATFORM=$platform "$churn" 1000)"
done
