#!/usr/bin/env bash
# End-to-end check of what a screen reader meets: heliora under a virtual X server, on a private session bus with
# its accessibility bus, read and driven through AT-SPI by screen_reader.py (see there for the checks), with the
# desktop's opener faked. Skipped (status 77) when the accessibility tools are missing: dbus-run-session (Debian
# dbus-daemon), at-spi-bus-launcher (at-spi2-core) or pyatspi for /usr/bin/python3 (python3-pyatspi). Screenshots
# go to OUT_DIR.
#
# usage: screen_reader.sh HELIORA OUT_DIR
set -euo pipefail
launcher=/usr/libexec/at-spi-bus-launcher
skip() {
    echo "SKIPPED: $* is missing; scripts/setup installs it" >&2
    exit 77
}
command -v dbus-run-session >/dev/null || skip "dbus-run-session (Debian package dbus-daemon)"
[ -x "$launcher" ] || skip "$launcher (Debian package at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi for /usr/bin/python3 (Debian package python3-pyatspi)"
if [ -z "${HELIORA_E2E_BUS_READY:-}" ] && [ $# -eq 2 ]; then
    exec env HELIORA_E2E_BUS_READY=1 dbus-run-session -- "$0" "$@"
fi
arguments=2 name=screen_reader
source "$(dirname "$0")/../support/xtest.sh"
heliora=$1

# The accessibility bus puts its socket in the run's runtime folder.
export XDG_RUNTIME_DIR=$work
fake_opener
"$launcher" --launch-immediately >>"$log" 2>&1 &
pids+=($!)
# Without a date link: the caption is absent, and with it the label that would hold it.
"${heliora_env[@]}" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$heliora" >>"$log" 2>&1 &
pid=$!

timeout 240 /usr/bin/python3 "$(dirname "$0")/screen_reader.py" "$work/opened" "$out" || fail "the screen reader's checks"
end_with TERM
echo "PASS: screen reader"
