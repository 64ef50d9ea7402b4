#!/usr/bin/env bash
# End-to-end check of the main window, as a user meets it: starts the real heliora under a virtual X server on a
# date link, presses Space on the fresh window and sees the date turn grey and, after Space again, the speed
# unchanged; clicks the forward button and sees the speed label change, clicks pause and sees the date turn grey,
# clicks Mars in the orrery twice and sees two fact windows appear, closes them with Ctrl+W and Escape, checks
# that the main window still runs (its clock advances again after play), and ends heliora with SIGHUP, which must
# give exit status 0 (under the sanitizer build that includes the leak check). A second heliora, started with
# SIGINT and SIGHUP ignored as a script's background job is, must keep them ignored and end cleanly on SIGTERM.
# Screenshots go to OUT_DIR.
#
# usage: main_window.sh HELIORA HELIORA_CLI OUT_DIR
set -euo pipefail

if [ $# -ne 3 ]; then
    sed -n '2,8p' "$0" >&2
    exit 2
fi
heliora=$1 cli=$2 out=$3

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

# heliora's texts and dates in US English and UTC (the locale need not be installed: ICU and Qt carry their own).
app_env=(env LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC)
mkdir -p "$out"
log="$out/heliora-main.log"
step_timeout=30
pid=

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-main.png" 2>/dev/null || true
    if [ -s "$log" ]; then
        echo "--- heliora's output ---" >&2
        cat "$log" >&2
    fi
    exit 1
}

cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

wait_for_windows() {
    local title=$1 count=$2 deadline=$((SECONDS + step_timeout))
    while [ "$(windows_named "$title" | grep -c .)" -ne "$count" ]; do
        [ $SECONDS -lt $deadline ] || fail "expected $count window(s) titled '$title'"
        kill -0 "$pid" 2>/dev/null || fail "heliora ended unexpectedly"
        sleep 0.1
    done
}

# A checksum of a region of the main window: "WxH+X+Y" in window coordinates.
region_sum() {
    import -window "$main" -crop "$1" +repage ppm:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# How many pixels of a region are close to a colour: $1 region, $2 "R,G,B".
pixels_like() {
    local r g b
    IFS=, read -r r g b <<<"$2"
    import -window "$main" -crop "$1" +repage -depth 8 txt:- 2>/dev/null \
        | awk -v r="$r" -v g="$g" -v b="$b" -F'[(),]' 'NR > 1 {
              dr = $3 - r; dg = $4 - g; db = $5 - b
              if (dr * dr + dg * dg + db * db < 900) n++ }
          END { print n + 0 }'
}

# Waits until the command's output differs from $1.
wait_for_change() {
    local before=$1 deadline=$((SECONDS + step_timeout))
    shift
    while [ "$("$@")" = "$before" ]; do
        [ $SECONDS -lt $deadline ] || fail "nothing changed after: $*"
        sleep 0.1
    done
}

link='heliora://?date=20240101'
"${app_env[@]}" "$heliora" "$link" >"$log" 2>&1 &
pid=$!

main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
    || fail "heliora's window did not appear"
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" -eq 500 ] && [ "$HEIGHT" -ge 700 ] || fail "main window is ${WIDTH}x${HEIGHT}, expected 500 wide, 700 or more high"
toolbar=$((HEIGHT - 700))
# The application icon is set just after the first frame.
deadline=$((SECONDS + step_timeout))
until xprop -len 16 -id "$main" _NET_WM_ICON 2>/dev/null | grep -q ' = '; do
    [ $SECONDS -lt $deadline ] || fail "the main window has no icon"
    sleep 0.1
done
import -window root "$out/main-start.png"

# The field's layout: the orrery (434 square with its margin) is centred in the 500 x 700 content; the three
# clock buttons (32 square, 32 apart) are centred at the bottom, 16 above the edge; the speed label sits at the
# right end of the caption row above them.
buttons_y=$((toolbar + 700 - 16 - 16))
backward_x=$((250 - 64)) play_x=250 forward_x=$((250 + 64))
speed_region="200x42+290+$((toolbar + 700 - 16 - 32 - 16 - 42))"
date_region="300x44+16+$((toolbar + 12))"

orange=$(pixels_like "$date_region" 255,159,10)
[ "$orange" -gt 50 ] || fail "the date is not orange while playing ($orange orange pixels)"

# Space on a fresh window pauses (no button holds the focus unseen, so it cannot step the speed instead), and
# plays again at the same speed.
speed_at_start=$(region_sum "$speed_region")
xdotool key --window "$main" space
deadline=$((SECONDS + step_timeout))
until [ "$(pixels_like "$date_region" 142,142,147)" -gt 50 ] && [ "$(pixels_like "$date_region" 255,159,10)" -eq 0 ]; do
    [ $SECONDS -lt $deadline ] || fail "Space did not pause: the date is not grey"
    sleep 0.1
done
import -window root "$out/main-space.png"
speed_paused=$(region_sum "$speed_region")
xdotool key --window "$main" space
wait_for_change "$speed_paused" region_sum "$speed_region"
[ "$(region_sum "$speed_region")" = "$speed_at_start" ] || fail "Space changed the speed"

before=$(region_sum "$speed_region")
xdotool mousemove --window "$main" "$forward_x" "$buttons_y" click 1
wait_for_change "$before" region_sum "$speed_region"
import -window root "$out/main-faster.png"

xdotool mousemove --window "$main" "$play_x" "$buttons_y" click 1
deadline=$((SECONDS + step_timeout))
until [ "$(pixels_like "$date_region" 142,142,147)" -gt 50 ] && [ "$(pixels_like "$date_region" 255,159,10)" -eq 0 ]; do
    [ $SECONDS -lt $deadline ] || fail "the date did not turn grey when paused"
    sleep 0.1
done
import -window root "$out/main-paused.png"

# Mars, where heliora-cli places it for the link's date (the clock has run for a few seconds at most since).
mars=$("$cli" render --date 2024-01-01T00:00:00Z --time-zone UTC --no-pluto -o "$out/orrery-reference.png" \
    | awk '/"planet": "mars"/ { found = 1 } found && /"x"/ { gsub(/[",]/, ""); x = $2 } found && /"y"/ { gsub(/[",]/, ""); print x, $2; exit }')
read -r mars_x mars_y <<<"$mars"
[ -n "$mars_y" ] || fail "heliora-cli render gave no position for Mars"
click_x=$(awk -v x="$mars_x" 'BEGIN { printf "%d", 33 + x + 0.5 }')
click_y=$(awk -v y="$mars_y" -v t="$toolbar" 'BEGIN { printf "%d", t + 133 + y + 0.5 }')
# Fact windows open at the screen's origin without a window manager; the main window moves aside first.
timeout "$step_timeout" xdotool windowmove --sync "$main" 700 100 || fail "could not move the main window"
xdotool mousemove --window "$main" "$click_x" "$click_y" click 1
wait_for_windows Mars 1
import -window root "$out/main-mars.png"
xdotool click 1
wait_for_windows Mars 2

for keys in ctrl+w Escape; do
    fact=$(windows_named Mars | head -n 1)
    left=$(($(windows_named Mars | grep -c .) - 1))
    timeout "$step_timeout" xdotool windowfocus --sync "$fact" || fail "could not focus the fact window"
    xdotool key --clearmodifiers "$keys"
    wait_for_windows Mars "$left"
done

# Still running: play again, and the date moves on (forward is one step above normal: 10,000 x, a few hours a tick).
kill -0 "$pid" 2>/dev/null || fail "heliora ended when the fact window closed"
xdotool mousemove --window "$main" "$play_x" "$buttons_y" click 1
before=$(region_sum "$date_region")
wait_for_change "$before" region_sum "$date_region"
import -window root "$out/main-end.png"

# Ends heliora ($pid) with signal $1 and checks that it exits with status 0, within the step timeout.
end_with() {
    kill "-$1" "$pid"
    (
        trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
        sleep "$step_timeout" &
        sleeper=$!
        wait "$sleeper"
        kill -KILL "$pid"
    ) >/dev/null 2>&1 &
    local watchdog=$! status=0
    wait "$pid" || status=$?
    pid=
    kill "$watchdog" 2>/dev/null || true
    [ "$status" -eq 0 ] || fail "heliora exited with status $status after SIG$1"
}

end_with HUP

# A second run, as a script's background job: SIGINT and SIGHUP ignored by the parent stay ignored.
(
    trap '' INT HUP
    exec "${app_env[@]}" "$heliora" >"$log" 2>&1
) &
pid=$!
timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' >/dev/null \
    || fail "the second heliora's window did not appear"
ignored=$((16#$(awk '/^SigIgn:/ { print $2 }' "/proc/$pid/status")))
caught=$((16#$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")))
for signal in 1 2; do # SIGHUP, SIGINT
    [ $(((ignored >> (signal - 1)) & 1)) -eq 1 ] || fail "signal $signal, ignored by the parent, is no longer ignored"
done
[ $(((caught >> 14) & 1)) -eq 1 ] || fail "SIGTERM is not handled"
end_with TERM
echo "PASS: main window"
