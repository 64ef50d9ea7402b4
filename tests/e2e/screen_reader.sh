#!/usr/bin/env bash
# End-to-end check of what a screen reader meets: heliora under a virtual X server, on a private session bus with
# its accessibility bus, read and driven through AT-SPI by screen_reader.py (see there for the checks). A fake
# xdg-open first on PATH writes down the addresses that heliora hands to the desktop. Skipped (status 77) when the
# accessibility tools are missing: dbus-run-session (Debian dbus-daemon), at-spi-bus-launcher (at-spi2-core) or
# pyatspi for /usr/bin/python3 (python3-pyatspi). Screenshots go to OUT_DIR.
#
# usage: screen_reader.sh HELIORA OUT_DIR
set -euo pipefail

if [ $# -ne 2 ]; then
    sed -n '2,8p' "$0" >&2
    exit 2
fi
heliora=$1 out=$2
launcher=/usr/libexec/at-spi-bus-launcher

skip() {
    echo "SKIPPED: $* is missing; scripts/setup installs it" >&2
    exit 77
}
command -v dbus-run-session >/dev/null || skip "dbus-run-session (Debian package dbus-daemon)"
[ -x "$launcher" ] || skip "$launcher (Debian package at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi for /usr/bin/python3 (Debian package python3-pyatspi)"
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
if [ -z "${HELIORA_E2E_BUS_READY:-}" ]; then
    exec env HELIORA_E2E_BUS_READY=1 dbus-run-session -- "$0" "$@"
fi

mkdir -p "$out"
work=$(mktemp -d)
log="$out/screen_reader.log"
: >"$log"
step_timeout=30
pid= bus=
cleanup() {
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    [ -z "$bus" ] || kill "$bus" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-screen-reader.png" 2>/dev/null || true
    if [ -s "$log" ]; then
        echo "--- heliora's output ---" >&2
        cat "$log" >&2
    fi
    exit 1
}

# A private runtime folder (the accessibility bus puts its socket there) and settings of this run's own.
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<FAKE
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened"
FAKE
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

"$launcher" --launch-immediately >>"$log" 2>&1 &
bus=$!
# Today: the caption is absent, and with it the label that would hold it.
env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC "$heliora" >>"$log" 2>&1 &
pid=$!

timeout 240 /usr/bin/python3 "$here/screen_reader.py" "$work/opened" "$out" || fail "the screen reader's checks"

# heliora ends as asked, with status 0, within the step timeout.
kill -TERM "$pid"
(
    trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
    sleep "$step_timeout" &
    sleeper=$!
    wait "$sleeper"
    kill -KILL "$pid"
) >/dev/null 2>&1 &
watchdog=$! status=0
wait "$pid" || status=$?
pid=
kill "$watchdog" 2>/dev/null || true
[ "$status" -eq 0 ] || fail "heliora exited with status $status after SIGTERM"
echo "e2e screen reader: passed"
