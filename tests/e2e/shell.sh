#!/usr/bin/env bash
# End-to-end check of the shell, as a user meets it, under a virtual X server:
#   1. heliora starts on a date link; a second heliora with another link exits 0 and the running window moves to
#      that day (its date matches a reference picture of the day); one with a malformed link exits 0 and changes
#      nothing (the paused window stays exactly as it was); one with --detail opens that fact window in the
#      running heliora; only one main window exists throughout;
#   2. the Help menu's commands hand their addresses to the desktop (a fake xdg-open first on PATH writes down
#      what it is given), chosen from the menu bar with the mouse, and About Heliora (Alt+H, A) opens the settings
#      window;
#   3. the main window, a fact window and the settings window closed with the main window first and last: heliora
#      runs on until the last one closes, and then ends with status 0; Ctrl+Q in a fact window ends it with 0;
#   4. startup notification: a launcher's DESKTOP_STARTUP_ID ends when heliora's window appears, and a later
#      launch's ends when the running heliora has taken it (STARTUP_WATCH prints the messages on the display).
# Screenshots go to OUT_DIR.
#
# usage: shell.sh HELIORA STARTUP_WATCH OUT_DIR
set -euo pipefail
arguments=3 name=shell
source "$(dirname "$0")/../support/xtest.sh"
heliora=$1 watch=$2

fake_opener

# Starts heliora with the given arguments and waits for its main window ($main).
start() {
    "${heliora_env[@]}" "$heliora" "$@" >>"$log" 2>&1 &
    pid=$!
    main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
        || fail "heliora's window did not appear"
}

# Runs a later heliora with the given arguments; it must exit 0 and leave one main window.
later() {
    local status=0
    timeout "$step_timeout" "${heliora_env[@]}" "$heliora" "$@" >>"$log" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "the later heliora $* exited with status $status"
    kill -0 "$pid" 2>/dev/null || fail "the running heliora ended after a later launch"
    window_count_is Heliora 1 || fail "not one main window after heliora $*"
}

# The main window's date matches the picture $1.
shows_date() {
    import -window "$main" "$work/now.png" 2>/dev/null
    date_crop "$work/now.png" "$work/now-date.png"
    [ "$(differing "$work/now-date.png" "$1")" -le 20 ]
}

# --- 1. Later launches reach the running window ---
for day in 2024-01-01 1991-01-09; do
    "${heliora_env[@]}" "$heliora" --screenshot "$work/reference-$day.png" --date "${day}T00:00:00Z" >>"$log" 2>&1 \
        || fail "heliora --screenshot --date $day failed"
    date_crop "$work/reference-$day.png" "$work/reference-$day-date.png"
done
start -- 'heliora://?date=20240101'
shows_date "$work/reference-2024-01-01-date.png" || fail "the window does not show the start link's day"
later -- 'heliora://?date=19910109'
wait_until "the running window did not move to the later launch's day" shows_date "$work/reference-1991-01-09-date.png"
import -window root "$out/shell-moved.png"

# Paused, the window shows one unchanging picture: a malformed link must leave it exactly so.
date_region=$(date_region "$main")
before=$(region_sum "$main" "$date_region")
xdotool key --window "$main" space
wait_until "Space did not pause the clock" region_differs "$before" "$main" "$date_region"
sleep 0.6 # one heartbeat: a tick that was on its way has landed
paused=$(region_sum "$main" "$date_region")
for link in 'heliora://?date=19910230' 'heliora://date=19910110' 'https://example.org/'; do
    later -- "$link"
done
sleep 0.6
[ "$(region_sum "$main" "$date_region")" = "$paused" ] || fail "a malformed link changed the running window"
later --detail mars
wait_for_windows Mars 1
end_with TERM

# --- 2. The Help menu ---
opened_is() { [ "$(cat "$work/opened" 2>/dev/null)" = "$1" ]; }
start
focus "$main"
# The mouse opens File at the left end of the menu bar; Right goes on to Help, with its first command chosen.
xdotool mousemove --window "$main" 16 10 click 1
sleep 0.5
xdotool key Right
sleep 0.5
import -window root "$out/shell-help-menu.png"
xdotool key Return
wait_until "xdg-open was not given the feedback address" opened_is 'mailto:feedback@heliora.app'
xdotool key alt+h
sleep 0.3
xdotool key a
wait_for_windows Settings 1
window_count_is Heliora 1 || fail "About opened a further main window"
end_with TERM "after the Help menu"

# --- 3. The run ends exactly with its last window ---
for order in "Heliora Mars Settings" "Settings Mars Heliora"; do
    start --detail mars
    later --settings general
    wait_for_windows Mars 1
    wait_for_windows Settings 1
    read -ra titles <<<"$order"
    for i in 0 1 2; do
        focus "$(windows_named "${titles[$i]}" | head -n 1)"
        xdotool key --clearmodifiers ctrl+w
        [ "$i" -eq 2 ] || wait_for_windows "${titles[$i]}" 0
    done
    end_with none "closing $order"
done
start --detail mars --settings about
wait_for_windows Mars 1
wait_for_windows Settings 1
focus "$(windows_named Mars | head -n 1)"
xdotool key --clearmodifiers ctrl+q
end_with none "Ctrl+Q"

# --- 4. Startup notification ---
"$watch" >"$work/notices" &
pids+=($!)
listening() { grep -q '^listening$' "$work/notices" 2>/dev/null; }
wait_until "startup_watch does not listen" listening
noticed() { grep -qxF "$1" "$work/notices"; }
DESKTOP_STARTUP_ID=launcher-1_TIME100 start
wait_until "no startup notice for the first launch" noticed 'remove: ID=launcher-1_TIME100'
DESKTOP_STARTUP_ID=launcher-2_TIME200 later -- 'heliora://?date=19910109'
wait_until "no startup notice for a later launch" noticed 'remove: ID="launcher-2_TIME200"'
DESKTOP_STARTUP_ID='odd"id\x_TIME300' later
wait_until "no startup notice for an odd id" noticed 'remove: ID="odd\"id\\x_TIME300"'
cp "$work/notices" "$out/shell-startup-notices.txt"
end_with TERM "after the startup notices"
echo "PASS: shell"
