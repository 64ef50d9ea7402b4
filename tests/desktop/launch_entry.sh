#!/usr/bin/env bash
# Starts heliora under a virtual X server the way a desktop starts it from the desktop entry: the Exec line, with
# its program taken from the build and its %u replaced by what a link handler passes. The "link" is an option
# in disguise (--screenshot=FILE): it must reach heliora as a link, so the window opens and no file is written.
# Then the window's WM_CLASS must match the entry's StartupWMClass, or a desktop could not tell that the window
# belongs to the entry (a second launcher icon, a launch that seems never to finish).
#
# usage: launch_entry.sh HELIORA FILE.desktop OUT_DIR
set -euo pipefail

if [ $# -ne 3 ]; then
    sed -n '2,8p' "$0" >&2
    exit 2
fi
heliora=$1 entry=$2 out=$3

if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

mkdir -p "$out"
log=$out/launch-entry.log
hostile=$out/launch-entry-hostile.png
rm -f "$hostile"
step_timeout=30
pid=

fail() {
    echo "FAIL: $*" >&2
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

entry_value() {
    awk -v key="$1" -F= '/^\[/ { group = $0 } group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$entry"
}

exec_line=$(entry_value Exec)
wm_class=$(entry_value StartupWMClass)
[ -n "$exec_line" ] || fail "the entry has no Exec line"
[ -n "$wm_class" ] || fail "the entry has no StartupWMClass"

# The entry's Exec line has no quoting; a launcher splits it at blanks and replaces the field code.
read -ra words <<<"$exec_line"
command=("$heliora")
for word in "${words[@]:1}"; do
    case $word in
    %u | %U) command+=("--screenshot=$hostile") ;;
    %*) fail "unexpected field code $word in Exec" ;;
    *) command+=("$word") ;;
    esac
done
echo "launching: ${command[*]}"

env LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC "${command[@]}" >"$log" 2>&1 &
pid=$!

deadline=$((SECONDS + step_timeout))
window=
while [ -z "$window" ]; do
    kill -0 "$pid" 2>/dev/null || fail "heliora ended instead of opening its window (was the link read as an option?)"
    [ $SECONDS -lt $deadline ] || fail "heliora's window did not appear"
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] || sleep 0.1
done
import -window root "$out/launch-entry.png"

# WM_CLASS(STRING) = "instance", "class"
read -r instance class < <(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\([^"]*\)", "\([^"]*\)"$/\1 \2/p')
[ -n "${class:-}" ] || fail "the window has no WM_CLASS"
echo "WM_CLASS: instance '$instance', class '$class'; StartupWMClass: '$wm_class'"
[ "$class" = "$wm_class" ] || fail "the window's class '$class' differs from the entry's StartupWMClass '$wm_class'"
[ ! -e "$hostile" ] || fail "a link that looks like an option was obeyed: $hostile was written"

kill -TERM "$pid"
status=0
timeout "$step_timeout" tail --pid="$pid" -f /dev/null || fail "heliora did not end after SIGTERM"
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "heliora exited with status $status after SIGTERM"
[ ! -e "$hostile" ] || fail "a link that looks like an option was obeyed: $hostile was written"
echo "PASS: heliora started from its desktop entry"
