#!/usr/bin/env bash
# End-to-end check of the fact windows, as a user meets them: starts the real heliora under a virtual X server,
# clicks a body's button in the bodies list twice, expects two windows titled with the body's localized name,
# closes both with Ctrl+W, checks that heliora still runs, and ends it with SIGTERM, which must give exit
# status 0 (under the sanitizer build that includes the leak check). Screenshots go to OUT_DIR.
#
# usage: fact_window.sh HELIORA HELIORA_CLI BODY LOCALE OUT_DIR
#   BODY    sun, mercury ... pluto
#   LOCALE  a POSIX locale such as en_US.UTF-8 or de_DE.UTF-8, for texts and numbers
set -euo pipefail

if [ $# -ne 5 ]; then
    sed -n '2,9p' "$0" >&2
    exit 2
fi
heliora=$1 cli=$2 body=$3 locale=$4 out=$5

# Re-run inside a fresh X server; without a window manager windows have no frames, so a window's geometry is
# its content's.
if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

mkdir -p "$out"
rm -f "$out/failure-$body-$locale.png"
log="$out/heliora-$body-$locale.log"
step_timeout=30
pid=

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-$body-$locale.png" 2>/dev/null || true
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

# Visible windows whose whole title is $1, one id a line; nothing when there are none.
windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# Waits until exactly $2 visible windows are titled $1.
wait_for_windows() {
    local title=$1 count=$2 deadline=$((SECONDS + step_timeout))
    while [ "$(windows_named "$title" | grep -c .)" -ne "$count" ]; do
        [ $SECONDS -lt $deadline ] || fail "expected $count window(s) titled '$title', found $(windows_named "$title" | grep -c .)"
        kill -0 "$pid" 2>/dev/null || fail "heliora ended unexpectedly"
        sleep 0.1
    done
}

expected_title=$(LC_ALL=$locale LANGUAGE=$locale "$cli" facts "$body" | sed -n 's/^ *"name": *"\(.*\)",*$/\1/p')
[ -n "$expected_title" ] || fail "heliora-cli knows no name for '$body'"

# Where the body's button is: the bodies list has fixed metrics (margin 16, section headers 30, rows 40) and
# sections of 1, 4, 2, 2 and 1 bodies, in the bodies' order; the button sits at the right end of the row.
bodies=(sun mercury venus earth mars jupiter saturn uranus neptune pluto)
sections=(0 1 1 1 1 2 2 3 3 4)
index=-1
for i in "${!bodies[@]}"; do
    [ "${bodies[$i]}" = "$body" ] && index=$i
done
[ "$index" -ge 0 ] || fail "unknown body '$body'"
margin=16 header=30 row=40
click_y=$((margin + (sections[index] + 1) * header + index * row + row / 2))

LC_ALL=$locale LANGUAGE=$locale "$heliora" >"$log" 2>&1 &
pid=$!

main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
    || fail "heliora's window did not appear"
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 600 ] || fail "main window is ${WIDTH}x${HEIGHT}, expected 400x600"
click_x=$((WIDTH - margin - 30))
# Without a window manager every new window opens at the screen's origin; the main window moves aside so that
# the fact windows do not cover its buttons.
timeout "$step_timeout" xdotool windowmove --sync "$main" 700 100 || fail "could not move the main window"
import -window root "$out/list-$locale.png"

# The application icon is set just after the first frame.
deadline=$((SECONDS + step_timeout))
until xprop -len 16 -id "$main" _NET_WM_ICON 2>/dev/null | grep -q ' = '; do
    [ $SECONDS -lt $deadline ] || fail "the main window has no icon"
    sleep 0.1
done

# Two clicks, two windows: an open fact window is never reused.
for n in 1 2; do
    xdotool mousemove --window "$main" "$click_x" "$click_y" click 1
    wait_for_windows "$expected_title" "$n"
done
import -window root "$out/fact-$body-$locale.png"

for fact in $(windows_named "$expected_title"); do
    eval "$(xdotool getwindowgeometry --shell "$fact")"
    [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 600 ] || fail "fact window is ${WIDTH}x${HEIGHT}, expected 400x600"
done

# Ctrl+W closes the focused fact window, and only that one.
for remaining in 1 0; do
    fact=$(windows_named "$expected_title" | head -n 1)
    timeout "$step_timeout" xdotool windowfocus --sync "$fact" || fail "could not focus the fact window"
    xdotool key --clearmodifiers ctrl+w
    wait_for_windows "$expected_title" "$remaining"
done

kill -0 "$pid" 2>/dev/null || fail "heliora ended when its fact windows closed"
[ -n "$(windows_named Heliora)" ] || fail "the main window went away"
import -window root "$out/after-$body-$locale.png"

# A session's end: SIGTERM must shut heliora down normally, and soon (a watchdog kills it otherwise).
kill -TERM "$pid"
(
    trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
    sleep "$step_timeout" &
    sleeper=$!
    wait "$sleeper"
    kill -KILL "$pid"
) >/dev/null 2>&1 &
watchdog=$!
status=0
wait "$pid" || status=$?
pid=
kill "$watchdog" 2>/dev/null || true
[ "$status" -eq 0 ] || fail "heliora exited with status $status after SIGTERM"
echo "PASS: $body ($locale), window '$expected_title'"
