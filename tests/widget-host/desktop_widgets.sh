#!/usr/bin/env bash
# End-to-end check of the desktop widgets under a virtual X server with a window manager (openbox):
# 1. heliora-widgets restores a widget from its settings file: its window appears at the saved place with the
#    family's size, below a normal window that was already open, on all desktops, out of task bars and pagers;
# 2. with the reload interval forced to a few seconds (HELIORA_WIDGET_RELOAD_S, the test hook), a changed Pluto
#    setting shows in the widget's picture at the next reload, without anything else happening;
# 3. with the interval long, a changed setting does not show by itself, but re-pointing the localtime link that
#    the host reads the machine's zone from (HELIORA_WIDGET_LOCALTIME, the test hook for /etc/localtime) reloads
#    the widget at once;
# 4. a second heliora-widgets --gallery hands over to the running host, which opens its gallery.
# Screenshots go to OUT_DIR.
#
# usage: desktop_widgets.sh HELIORA_WIDGETS OUT_DIR
set -euo pipefail
XTEST_SCREEN=1024x768x24 arguments=2 name=heliora-widgets
source "$(dirname "$0")/../support/xtest.sh"
host=$1
config=$work/config

set_pluto() { printf '[General]\nshow_pluto=%s\n' "$1" >"$config/QZ7R4K2M9T.Heliora.macOS.conf"; }
# Points the test's localtime link at a zone, replacing the link in one rename as timedatectl does.
set_zone() {
    ln -sfn "/usr/share/zoneinfo/$1" "$work/localtime.new"
    mv -T "$work/localtime.new" "$work/localtime"
}
host_env=(env -u TZ XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work" HELIORA_WIDGET_LOCALTIME="$work/localtime"
    LANGUAGE=en)
widget_shown() { widget=$(windows_named 'Solar System' | head -n 1) && [ -n "$widget" ]; }
# The host ends on SIGTERM by the signal's default action: nothing of it is left to save.
stop_host() {
    kill -TERM "$pid"
    wait "$pid" || true
    pid=
}
# Starts the host with the reload interval $1 (seconds) and waits for its widget (`widget`).
start_host() {
    "${host_env[@]}" HELIORA_WIDGET_RELOAD_S="$1" "$host" --verbose >>"$log" 2>&1 &
    pid=$!
    wait_until "no widget window appeared" widget_shown
    sleep 0.5 # the first frame
}
# A checksum of the widget's top-left part, which the normal window does not cover.
picture_sum() { region_sum root 200x200+40+40; }
picture_differs() { [ "$(picture_sum)" != "$1" ]; }

mkdir -p "$config/heliora"
set_zone UTC
set_pluto false
echo '{"version": 1, "widgets": [{"kind": "SolarSystemWidget", "family": "large", "screen": "", "x": 40, "y": 40}]}' \
    >"$config/heliora/heliora-widgets.json"

openbox >/dev/null 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until "openbox did not start" wm_ready
# A normal window that overlaps where the widget will be.
xmessage -geometry 420x300+260+300 "a normal window" >/dev/null 2>&1 &
pids+=($!)
other_shown() { other=$(xdotool search --onlyvisible --class xmessage 2>/dev/null | head -n 1) && [ -n "$other" ]; }
wait_until "the normal window did not appear" other_shown

# 1. Restored at its place and size, below the normal window, with the desktop-widget hints.
start_host 4
geometry=$(xwininfo -id "$widget" | awk '/Absolute upper-left [XY]|^ *Width:|^ *Height:/ { printf "%s ", $NF }')
[ "$geometry" = "40 40 360 379 " ] || fail "the widget is not 360 x 379 at 40, 40: $geometry"
stacking=$(xprop -root -notype _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, / /g')
position() {
    local i=0 w
    for w in $stacking; do
        [ $((w)) -eq $(($1)) ] && { echo $i; return; }
        i=$((i + 1))
    done
    echo -1
}
below=$(position "$widget") above=$(position "$other")
[ "$below" -ge 0 ] && [ "$above" -ge 0 ] || fail "the window manager does not list both windows: $stacking"
[ "$below" -lt "$above" ] || fail "the widget is not below the normal window (stacking $stacking)"
states=$(xprop -id "$widget" _NET_WM_STATE _NET_WM_DESKTOP)
for state in _NET_WM_STATE_BELOW _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; do
    grep -q "$state" <<<"$states" || fail "the widget lacks $state: $states"
done
grep -q '_NET_WM_DESKTOP(CARDINAL) = 4294967295' <<<"$states" || fail "the widget is not on all desktops: $states"
xdotool windowactivate --sync "$other" 2>/dev/null || true
import -window root "$out/widgets-restored.png"

# 2. A forced reload every 4 seconds shows the changed setting.
before=$(picture_sum)
set_pluto true
wait_until "the picture did not change after a reload with Pluto switched on" picture_differs "$before"
import -window root "$out/widgets-reloaded-pluto.png"
stop_host

# 3. A long interval: the setting alone changes nothing; a zone change reloads at once.
start_host 3600
before=$(picture_sum)
drawn=$(grep -c ' drew ' "$log")
set_pluto false
sleep 3
[ "$(picture_sum)" = "$before" ] || fail "the picture changed without a reload"
set_zone Asia/Tokyo
wait_until "the picture did not change at once after the time zone changed" picture_differs "$before"
[ "$(grep -c ' drew ' "$log")" -gt "$drawn" ] || fail "no reload was logged after the zone change"
import -window root "$out/widgets-zone-changed.png"

# 4. A second start hands over to the running host, which opens its gallery; the widget does not show twice.
"${host_env[@]}" "$host" --gallery >>"$log" 2>&1 || fail "a second heliora-widgets did not end cleanly"
wait_for_windows 'Heliora Widgets' 1
window_count_is 'Solar System' 1 || fail "the widget shows twice"
import -window root "$out/widgets-gallery.png"
stop_host
echo "PASS: widget restored below a normal window, reloaded on schedule and on a zone change"
