#!/usr/bin/env bash
# End-to-end check of the shell, as a user meets it, under a virtual X server:
#   1. heliora starts on a date link; a second heliora with another link exits 0 and the running window moves to
#      that day (its date matches a reference picture of the day); one with a malformed link exits 0 and changes
#      nothing (the paused window stays exactly as it was); one with --detail opens that fact window in the
#      running heliora; only one main window exists throughout;
#   2. the Help menu's commands hand their addresses to the desktop (a fake xdg-open first on PATH writes down
#      what it is given), chosen from the menu bar with the mouse and with the keyboard, and About Heliora opens
#      the settings window;
#   3. the main window, a fact window and the settings window closed in every order: heliora runs on until the
#      last one closes, and then ends with status 0;
#   4. Ctrl+Q in a fact window, with the main window and the settings window open, ends heliora with status 0;
#   5. startup notification: a launcher's DESKTOP_STARTUP_ID ends when heliora's window appears, and a later
#      launch's ends when the running heliora has taken it (STARTUP_WATCH prints the messages on the display).
# Screenshots go to OUT_DIR.
#
# usage: shell.sh HELIORA STARTUP_WATCH OUT_DIR
set -euo pipefail

if [ $# -ne 3 ]; then
    sed -n '2,17p' "$0" >&2
    exit 2
fi
heliora=$1 watch=$2 out=$3

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

mkdir -p "$out"
work=$(mktemp -d)
log="$out/shell.log"
: >"$log"
step_timeout=30
pid=

# A private runtime folder: this run's heliora answers no one else's launches.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The desktop's opener, as Qt finds it: it writes down what it was asked to open.
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened"
EOF
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH
app_env=(env LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC)

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-shell.png" 2>/dev/null || true
    if [ -s "$log" ]; then
        echo "--- heliora's output ---" >&2
        cat "$log" >&2
    fi
    exit 1
}

watcher=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    [ -z "$watcher" ] || kill "$watcher" 2>/dev/null || true
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

# Starts heliora with the given arguments and waits for its main window ($main).
start() {
    "${app_env[@]}" "$heliora" "$@" >>"$log" 2>&1 &
    pid=$!
    main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
        || fail "heliora's window did not appear"
    # Everything that sits above the 500 x 700 content: the menu bar and the toolbar.
    bars=$(($(xdotool getwindowgeometry --shell "$main" | awk -F= '$1 == "HEIGHT" { print $2 }') - 700))
}

# Runs a later heliora with the given arguments; it must exit 0 and leave one main window.
later() {
    local status=0
    timeout "$step_timeout" "${app_env[@]}" "$heliora" "$@" >>"$log" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "the later heliora $* exited with status $status"
    kill -0 "$pid" 2>/dev/null || fail "the running heliora ended after a later launch"
    [ "$(windows_named Heliora | grep -c .)" -eq 1 ] || fail "more than one main window after heliora $*"
}

# Waits until heliora ($pid) has ended, and checks that it ended with status 0.
wait_for_end() {
    local deadline=$((SECONDS + step_timeout)) status=0
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "heliora did not end: $1"
        sleep 0.1
    done
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "heliora ended with status $status: $1"
}

# The date of the main window, cropped out of a picture of the window.
date_crop() {
    convert "$1" -crop "300x44+16+$(($(identify -format '%h' "$1") - 700 + 12))" +repage "$2"
}
# How many pixels of two pictures differ by more than a little.
differing() {
    { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'
}
date_sum() {
    import -window "$main" "$work/now.png" 2>/dev/null
    date_crop "$work/now.png" "$work/now-date.png"
    convert "$work/now-date.png" rgb:- | md5sum | cut -d' ' -f1
}

# --- 1. Later launches reach the running window ---
for day in 2024-01-01 1991-01-09; do
    "${app_env[@]}" QT_QPA_PLATFORM=xcb "$heliora" --screenshot "$work/reference-$day.png" --date "${day}T00:00:00Z" \
        >>"$log" 2>&1 || fail "heliora --screenshot --date $day failed"
    date_crop "$work/reference-$day.png" "$work/reference-$day-date.png"
done

start -- 'heliora://?date=20240101'
import -window "$main" "$work/start.png"
date_crop "$work/start.png" "$work/start-date.png"
n=$(differing "$work/start-date.png" "$work/reference-2024-01-01-date.png")
[ "$n" -le 20 ] || fail "the window does not show the start link's day ($n pixels differ)"

later -- 'heliora://?date=19910109'
deadline=$((SECONDS + step_timeout))
until
    import -window "$main" "$work/moved.png"
    date_crop "$work/moved.png" "$work/moved-date.png"
    [ "$(differing "$work/moved-date.png" "$work/reference-1991-01-09-date.png")" -le 20 ]
do
    [ $SECONDS -lt $deadline ] || fail "the running window did not move to the later launch's day"
    sleep 0.1
done
import -window root "$out/shell-moved.png"

# Paused, the window shows one unchanging picture: a malformed link must leave it exactly so.
before=$(date_sum)
xdotool key --window "$main" space
wait_for_change_from() {
    local deadline=$((SECONDS + step_timeout))
    while [ "$(date_sum)" = "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "Space did not pause the clock"
        sleep 0.1
    done
}
wait_for_change_from "$before"
sleep 0.6 # one heartbeat: a tick that was on its way has landed
paused=$(date_sum)
for link in 'heliora://?date=19910230' 'heliora://?date=1991010' 'heliora://date=19910110' 'https://example.org/'; do
    later -- "$link"
done
sleep 0.6
[ "$(date_sum)" = "$paused" ] || fail "a malformed link changed the running window"
import -window root "$out/shell-malformed.png"

later --detail mars
wait_for_windows Mars 1
kill -TERM "$pid"
wait_for_end "SIGTERM"

# --- 2. The Help menu ---
# Waits until the fake xdg-open has been given exactly the lines $@, in this order.
wait_for_opened() {
    local expected deadline=$((SECONDS + step_timeout))
    expected=$(printf '%s\n' "$@")
    until [ "$(cat "$work/opened" 2>/dev/null)" = "$expected" ]; do
        [ $SECONDS -lt $deadline ] || fail "xdg-open was given '$(cat "$work/opened" 2>/dev/null)', not '$expected'"
        sleep 0.1
    done
}
start
timeout "$step_timeout" xdotool windowfocus --sync "$main" || fail "could not focus the main window"
# The mouse opens File at the left end of the menu bar; Right goes on to Help, with its first command chosen.
xdotool mousemove --window "$main" 16 10 click 1
sleep 0.5
import -window root "$out/shell-file-menu.png"
xdotool key Right
sleep 0.5
import -window root "$out/shell-help-menu.png"
xdotool key Return
wait_for_opened 'mailto:feedback@heliora.app'
# Its key (Alt+H) and the command's mnemonic.
xdotool key alt+h
sleep 0.3
xdotool key t
wait_for_opened 'mailto:feedback@heliora.app' 'https://twitter.com/HelioraApp'
xdotool key alt+h
sleep 0.3
xdotool key a
wait_for_windows Settings 1
import -window root "$out/shell-about.png"
[ "$(windows_named Heliora | grep -c .)" -eq 1 ] || fail "About opened a further main window"
kill -TERM "$pid"
wait_for_end "SIGTERM after the Help menu"

# --- 3. The run ends exactly with its last window, whichever order they close in ---
close_window() {
    local window=$1
    timeout "$step_timeout" xdotool windowfocus --sync "$window" || fail "could not focus window $window"
    xdotool key --clearmodifiers ctrl+w
}
for order in "Heliora Mars Settings" "Heliora Settings Mars" "Mars Heliora Settings" "Mars Settings Heliora" \
    "Settings Heliora Mars" "Settings Mars Heliora"; do
    start --detail mars
    later --settings general
    wait_for_windows Mars 1
    wait_for_windows Settings 1
    read -ra titles <<<"$order"
    for i in 0 1 2; do
        window=$(windows_named "${titles[$i]}" | head -n 1)
        close_window "$window"
        if [ "$i" -lt 2 ]; then
            wait_for_windows "${titles[$i]}" 0
        fi
    done
    wait_for_end "closing $order"
    echo "closing $order: heliora ended with the last window"
done

# --- 4. Ctrl+Q quits with fact and settings windows open ---
start --detail mars --settings about
wait_for_windows Mars 1
wait_for_windows Settings 1
timeout "$step_timeout" xdotool windowfocus --sync "$(windows_named Mars | head -n 1)" || fail "could not focus Mars"
import -window root "$out/shell-before-quit.png"
xdotool key --clearmodifiers ctrl+q
wait_for_end "Ctrl+Q"
# --- 5. Startup notification ---
"$watch" >"$work/notices" &
watcher=$!
deadline=$((SECONDS + step_timeout))
until grep -q '^listening$' "$work/notices" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "startup_watch does not listen"
    sleep 0.1
done
# Waits until startup_watch has printed the line $1.
wait_for_notice() {
    local deadline=$((SECONDS + step_timeout))
    until grep -qxF "$1" "$work/notices"; do
        [ $SECONDS -lt $deadline ] || fail "no startup notice '$1'; seen: $(tr '\n' '|' <"$work/notices")"
        sleep 0.1
    done
}
DESKTOP_STARTUP_ID=launcher-1_TIME100 start
wait_for_notice 'remove: ID=launcher-1_TIME100'
DESKTOP_STARTUP_ID=launcher-2_TIME200 later -- 'heliora://?date=19910109'
wait_for_notice 'remove: ID="launcher-2_TIME200"'
DESKTOP_STARTUP_ID='odd"id\x_TIME300' later
wait_for_notice 'remove: ID="odd\"id\\x_TIME300"'
cp "$work/notices" "$out/shell-startup-notices.txt"
kill -TERM "$pid"
wait_for_end "SIGTERM after the startup notices"
echo "PASS: shell"
