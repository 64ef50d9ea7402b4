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

if [ $# -ne 2 ]; then
    sed -n '2,13p' "$0" >&2
    exit 2
fi
host=$1 out=$2

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

mkdir -p "$out"
scratch=$(mktemp -d)
config=$scratch/config
log=$out/heliora-widgets.log
step_timeout=30
host_pid= wm_pid= other_pid=

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-widgets.png" 2>/dev/null || true
    [ -s "$log" ] && { echo "--- heliora-widgets' output ---" >&2; cat "$log" >&2; }
    exit 1
}

cleanup() {
    for pid in $host_pid $other_pid $wm_pid; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

set_pluto() {
    printf '[General]\nshow_pluto=%s\n' "$1" >"$config/QZ7R4K2M9T.Heliora.macOS.conf"
}

# Points the test's localtime link at a zone, replacing the link in one rename as timedatectl does.
set_zone() {
    ln -sfn "/usr/share/zoneinfo/$1" "$scratch/etc/localtime.new"
    mv -T "$scratch/etc/localtime.new" "$scratch/etc/localtime"
}

start_host() {
    env -u TZ XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$scratch" HELIORA_WIDGET_LOCALTIME="$scratch/etc/localtime" \
        HELIORA_WIDGET_RELOAD_S="$1" LANGUAGE=en "$host" --verbose >>"$log" 2>&1 &
    host_pid=$!
    local deadline=$((SECONDS + step_timeout))
    widget=
    while [ -z "$widget" ]; do
        [ $SECONDS -lt $deadline ] || fail "no widget window appeared"
        kill -0 "$host_pid" 2>/dev/null || fail "heliora-widgets ended unexpectedly"
        sleep 0.2
        widget=$(xdotool search --onlyvisible --name '^Solar System$' 2>/dev/null | head -n 1 || true)
    done
    sleep 0.5 # the first frame
}

stop_host() {
    kill -TERM "$host_pid" 2>/dev/null || true
    wait "$host_pid" 2>/dev/null || true
    host_pid=
}

# A checksum of the widget's top-left part, which the normal window does not cover.
picture_sum() {
    import -window root -crop 200x200+40+40 +repage ppm:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# Waits until the picture differs from $1; fails after $2 seconds.
wait_for_change() {
    local before=$1 deadline=$((SECONDS + $2))
    while [ "$(picture_sum)" = "$before" ]; do
        [ $SECONDS -lt $deadline ] || fail "$3"
        sleep 0.25
    done
}

mkdir -p "$config/heliora" "$scratch/etc"
chmod 700 "$scratch"
set_zone UTC
set_pluto false
cat >"$config/heliora/heliora-widgets.json" <<'JSON'
{"version": 1, "widgets": [{"kind": "SolarSystemWidget", "family": "large", "screen": "", "x": 40, "y": 40}]}
JSON

openbox >/dev/null 2>&1 &
wm_pid=$!
deadline=$((SECONDS + step_timeout))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    [ $SECONDS -lt $deadline ] || fail "openbox did not start"
    sleep 0.1
done

# A normal window that overlaps where the widget will be.
xmessage -geometry 420x300+260+300 "a normal window" >/dev/null 2>&1 &
other_pid=$!
deadline=$((SECONDS + step_timeout))
other=
while [ -z "$other" ]; do
    [ $SECONDS -lt $deadline ] || fail "the normal window did not appear"
    sleep 0.1
    other=$(xdotool search --onlyvisible --class xmessage 2>/dev/null | head -n 1 || true)
done

# 1. Restored at its place and size, below the normal window, with the desktop-widget hints.
start_host 4
geometry=$(xwininfo -id "$widget")
[ "$(awk '/Absolute upper-left X/ { print $NF }' <<<"$geometry")" = 40 ] || fail "the widget is not at x 40: $geometry"
[ "$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$geometry")" = 40 ] || fail "the widget is not at y 40: $geometry"
[ "$(awk '/^ *Width:/ { print $NF }' <<<"$geometry")" = 360 ] || fail "the widget is not 360 wide: $geometry"
[ "$(awk '/^ *Height:/ { print $NF }' <<<"$geometry")" = 379 ] || fail "the widget is not 379 high: $geometry"
stacking=$(xprop -root -notype _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, / /g')
position() { local i=0; for w in $stacking; do [ $((w)) -eq $(($1)) ] && { echo $i; return; }; i=$((i + 1)); done; echo -1; }
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
wait_for_change "$before" 15 "the picture did not change after a reload with Pluto switched on"
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
wait_for_change "$before" 10 "the picture did not change at once after the time zone changed"
[ "$(grep -c ' drew ' "$log")" -gt "$drawn" ] || fail "no reload was logged after the zone change"
import -window root "$out/widgets-zone-changed.png"

# 4. A second start hands over to the running host, which opens its gallery; the widget does not show twice.
env -u TZ XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$scratch" "$host" --gallery >>"$log" 2>&1 \
    || fail "a second heliora-widgets did not end cleanly"
deadline=$((SECONDS + step_timeout))
until xdotool search --onlyvisible --name '^Heliora Widgets$' >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "the running host did not open its gallery"
    sleep 0.2
done
[ "$(xdotool search --onlyvisible --name '^Solar System$' | wc -l)" -eq 1 ] || fail "the widget shows twice"
import -window root "$out/widgets-gallery.png"
stop_host
echo "PASS: widget restored below a normal window, reloaded on schedule and on a zone change"
