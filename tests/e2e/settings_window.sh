#!/usr/bin/env bash
# End-to-end check of the settings window, as a user meets it: starts the real heliora under a virtual X server on
# a date link, opens the settings window from the main window with Ctrl+, (a second Ctrl+, raises the same one),
# picks 9 January 1991 in the date field with the keyboard and sees the main window's date become the one heliora
# draws for that day, copies the date link and reads exactly "heliora://?date=19910109" from the clipboard with
# xclip (the orange confirmation shows and is gone a few seconds later), switches Pluto on in the Viewing tab and
# sees the main window's tenth ring, closes the settings window with Ctrl+W and opens a fresh one on General,
# and ends heliora with SIGTERM, which must give exit status 0 (under the sanitizer build that includes the leak
# check). Screenshots go to OUT_DIR.
#
# usage: settings_window.sh HELIORA OUT_DIR
set -euo pipefail

if [ $# -ne 2 ]; then
    sed -n '2,9p' "$0" >&2
    exit 2
fi
heliora=$1 out=$2

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

# US English, UTC, and a settings folder of the test's own (Pluto starts off).
work=$(mktemp -d)
app_env=(env LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work")
mkdir -p "$out" "$work/config"
chmod 700 "$work"
log="$out/heliora-settings.log"
step_timeout=30
pid=

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-settings.png" 2>/dev/null || true
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
    rm -rf "$work"
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

# Pixels of a window: $1 window, $2 region "WxH+X+Y" in window coordinates.
region_sum() {
    import -window "$1" -crop "$2" +repage ppm:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# How many pixels of a window's region are close to a colour: $1 window, $2 region, $3 "R,G,B".
pixels_like() {
    local r g b
    IFS=, read -r r g b <<<"$3"
    import -window "$1" -crop "$2" +repage -depth 8 txt:- 2>/dev/null \
        | awk -v r="$r" -v g="$g" -v b="$b" -F'[(),]' 'NR > 1 {
              dr = $3 - r; dg = $4 - g; db = $5 - b
              if (dr * dr + dg * dg + db * db < 900) n++ }
          END { print n + 0 }'
}

# Waits until the command succeeds.
wait_until() {
    local what=$1 deadline=$((SECONDS + step_timeout))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail "$what"
        kill -0 "$pid" 2>/dev/null || fail "heliora ended unexpectedly"
        sleep 0.1
    done
}

"${app_env[@]}" "$heliora" 'heliora://?date=20240101' >"$log" 2>&1 &
pid=$!

main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
    || fail "heliora's window did not appear"
# Without a window manager every window opens at the origin: the main window moves to the right.
timeout "$step_timeout" xdotool windowmove --sync "$main" 700 0 || fail "could not move the main window"
eval "$(xdotool getwindowgeometry --shell "$main")"
toolbar=$((HEIGHT - 700))
date_region="300x44+16+$((toolbar + 12))"

# Ctrl+, opens the settings window; asking again raises the same one.
timeout "$step_timeout" xdotool windowfocus --sync "$main" || fail "could not focus the main window"
xdotool key --clearmodifiers ctrl+comma
wait_for_windows Settings 1
settings=$(windows_named Settings | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$settings")"
[ "$WIDTH" -eq 600 ] && [ "$HEIGHT" -eq 550 ] || fail "the settings window is ${WIDTH}x${HEIGHT}, not 600x550"
timeout "$step_timeout" xdotool windowfocus --sync "$main" || fail "could not focus the main window"
xdotool key --clearmodifiers ctrl+comma
sleep 0.5
[ "$(windows_named Settings | grep -c .)" -eq 1 ] || fail "a second Ctrl+, opened a second settings window"
import -window root "$out/settings-open.png"

# 9 January 1991 with the keyboard, from 1 January 2024: the day field up eight, the year field down 33 (three
# pages of ten, then three). Each step moves the clock at once.
xdotool mousemove --window "$settings" 48 91 click 1
xdotool key Tab
for _ in 1 2 3 4 5 6 7 8; do xdotool key Up; done
xdotool key Tab Page_Down Page_Down Page_Down Down Down Down

# The main window's date is what heliora draws for that day (within a few pixels of antialiasing).
"${app_env[@]}" QT_QPA_PLATFORM=offscreen "$heliora" --screenshot "$work/reference.png" --date 1991-01-09 \
    >>"$log" 2>&1 || fail "the reference screenshot failed"
convert "$work/reference.png" -crop "$date_region" +repage "$out/date-expected.png"
date_differs() {
    import -window "$main" -crop "$date_region" +repage "$out/date-shown.png" 2>/dev/null
    local differing
    differing=$(compare -metric AE -fuzz 10% "$out/date-shown.png" "$out/date-expected.png" null: 2>&1 || true)
    [ "${differing%% *}" -lt 20 ] 2>/dev/null
}
wait_until "the main window does not show the date of 9 January 1991 (date-shown.png, date-expected.png)" date_differs
import -window root "$out/settings-picked.png"

# Copy the date link: the clipboard holds exactly the link, and the orange confirmation comes and goes.
hud_region="560x80+20+450"
clipboard_holds_link() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = 'heliora://?date=19910109' ]; }
hud_shows() { [ "$(pixels_like "$settings" "$hud_region" 255,159,10)" -gt 500 ]; }
hud_gone() { [ "$(pixels_like "$settings" "$hud_region" 255,159,10)" -eq 0 ]; }
copied_at=$(date +%s%N)
xdotool mousemove --window "$settings" 523 250 click 1
wait_until "the clipboard does not hold the date link" clipboard_holds_link
# Plain text and nothing else: X11's names for it, beside the selection's own housekeeping targets.
targets=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -v -x -E 'TARGETS|MULTIPLE|TIMESTAMP|SAVE_TARGETS' \
    | LC_ALL=C sort | tr '\n' ' ')
[ "$targets" = "STRING TEXT UTF8_STRING text/plain " ] || fail "the clipboard offers more than plain text: $targets"
wait_until "no confirmation after the copy" hud_shows
import -window root "$out/settings-copied.png"
wait_until "the confirmation stays" hud_gone
# Reported, not judged: the unit tests hold the two seconds; here the screen only has to clear again.
echo "the confirmation was seen for $(( ($(date +%s%N) - copied_at) / 1000000 )) ms after the click"

# Pluto: the Viewing tab's check box. With ten rings the eighth lies at radius 180 (its ink covers radii 179 to
# 180), where nine rings leave black; looked at in four directions, since a planet may cover one.
ring_pixels() {
    local cx=250 cy=$((toolbar + 350)) n=0 p
    for p in "$((cx + 179))x$cy" "$((cx - 180))x$cy" "${cx}x$((cy + 179))" "${cx}x$((cy - 180))"; do
        n=$((n + $(pixels_like "$main" "1x1+${p%x*}+${p#*x}" 64,64,64)))
    done
    echo "$n"
}
tenth_ring_drawn() { [ "$(ring_pixels)" -ge 3 ]; }
[ "$(ring_pixels)" -le 1 ] || fail "a tenth ring before Pluto was switched on"
xdotool mousemove --window "$settings" 150 33 click 1
sleep 0.3
xdotool mousemove --window "$settings" 45 73 click 1
wait_until "the main window did not draw Pluto's ring" tenth_ring_drawn
import -window root "$out/settings-pluto.png"

# Ctrl+W closes the settings window; heliora runs on, and Ctrl+, opens a fresh one, on General.
timeout "$step_timeout" xdotool windowfocus --sync "$settings" || fail "could not focus the settings window"
xdotool key --clearmodifiers ctrl+w
wait_for_windows Settings 0
timeout "$step_timeout" xdotool windowfocus --sync "$main" || fail "could not focus the main window"
xdotool key --clearmodifiers ctrl+comma
wait_for_windows Settings 1
import -window root "$out/settings-reopened.png"

kill -TERM "$pid"
status=0
timeout "$step_timeout" tail --pid="$pid" -f /dev/null || fail "heliora did not end on SIGTERM"
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "heliora exited with status $status after SIGTERM"
echo "PASS: settings window"
