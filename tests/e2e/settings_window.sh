#!/usr/bin/env bash
# End-to-end check of the settings window, as a user meets it: starts the real heliora under a virtual X server on
# a date link, opens the settings window with Ctrl+, (600 x 550), picks 9 January 1991 in the date field with the
# keyboard and sees the main window's date become the one heliora draws for that day, copies the date link and
# reads exactly "heliora://?date=19910109", offered as plain text only, from the clipboard with xclip, switches
# Pluto on in the Viewing tab and sees the main window's tenth ring, closes the settings window with Ctrl+W, and
# ends heliora with SIGTERM, which must give exit status 0 (under the sanitizer build that includes the leak
# check). Screenshots go to OUT_DIR.
#
# usage: settings_window.sh HELIORA OUT_DIR
set -euo pipefail
arguments=2 name=settings
source "$(dirname "$0")/../support/xtest.sh"
heliora=$1

"${heliora_env[@]}" "$heliora" 'heliora://?date=20240101' >"$log" 2>&1 &
pid=$!
main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
    || fail "heliora's window did not appear"
# Without a window manager every window opens at the origin: the main window moves to the right.
timeout "$step_timeout" xdotool windowmove --sync "$main" 700 0 || fail "could not move the main window"
bars=$(($(xdotool getwindowgeometry --shell "$main" | awk -F= '$1 == "HEIGHT" { print $2 }') - 700))

focus "$main"
xdotool key --clearmodifiers ctrl+comma
wait_for_windows Settings 1
settings=$(windows_named Settings | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$settings")"
[ "$WIDTH" -eq 600 ] && [ "$HEIGHT" -eq 550 ] || fail "the settings window is ${WIDTH}x${HEIGHT}, not 600x550"
import -window root "$out/settings-open.png"

# 9 January 1991 with the keyboard, from 1 January 2024: the day field up eight, the year field down 33 (three
# pages of ten, then three). Each step moves the clock at once; the main window then shows what heliora draws for
# that day (within a few pixels of antialiasing).
xdotool mousemove --window "$settings" 48 91 click 1
xdotool key Tab
for _ in 1 2 3 4 5 6 7 8; do xdotool key Up; done
xdotool key Tab Page_Down Page_Down Page_Down Down Down Down
"${heliora_env[@]}" QT_QPA_PLATFORM=offscreen "$heliora" --screenshot "$work/reference.png" --date 1991-01-09 \
    >>"$log" 2>&1 || fail "the reference screenshot failed"
date_crop "$work/reference.png" "$out/date-expected.png"
shows_the_day() {
    import -window "$main" "$work/now.png" 2>/dev/null
    date_crop "$work/now.png" "$out/date-shown.png"
    [ "$(differing "$out/date-shown.png" "$out/date-expected.png")" -lt 20 ]
}
wait_until "the main window does not show the date of 9 January 1991 (date-shown.png, date-expected.png)" shows_the_day
import -window root "$out/settings-picked.png"

# Copy the date link: the clipboard holds exactly the link as plain text, X11's names for it beside the
# selection's own housekeeping targets, and nothing else.
clipboard_holds_link() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = 'heliora://?date=19910109' ]; }
xdotool mousemove --window "$settings" 523 250 click 1
wait_until "the clipboard does not hold the date link" clipboard_holds_link
targets=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null \
    | grep -v -x -E 'TARGETS|MULTIPLE|TIMESTAMP|SAVE_TARGETS' | LC_ALL=C sort | tr '\n' ' ')
[ "$targets" = "STRING TEXT UTF8_STRING text/plain " ] || fail "the clipboard offers more than plain text: $targets"

# Pluto: the Viewing tab's check box. With ten rings the eighth lies at radius 180 (its ink covers radii 179 to
# 180), where nine rings leave black; looked at in four directions, since a planet may cover one.
ring_pixels() {
    local cx=250 cy=$((bars + 350)) n=0 p
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

focus "$settings"
xdotool key --clearmodifiers ctrl+w
wait_for_windows Settings 0
end_with TERM
echo "PASS: settings window"
