#!/usr/bin/env bash
# Starts heliora under a virtual X server the way a desktop starts it from the desktop entry: the Exec line, with
# its program taken from the build and its %u replaced by what a link handler passes. The "link" is an option
# in disguise (--screenshot=FILE): it must reach heliora as a link, so the window opens and no file is written.
# Then the window's WM_CLASS must match the entry's StartupWMClass, or a desktop could not tell that the window
# belongs to the entry (a second launcher icon, a launch that seems never to finish).
#
# usage: launch_entry.sh HELIORA FILE.desktop OUT_DIR
set -euo pipefail
arguments=3 name=launch-entry
source "$(dirname "$0")/../support/xtest.sh"
heliora=$1 entry=$2
hostile=$work/hostile.png

entry_value() {
    awk -v key="$1" -F= '/^\[/ { group = $0 }
        group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$entry"
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
"${heliora_env[@]}" "${command[@]}" >"$log" 2>&1 &
pid=$!
window_of_pid() { window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) && [ -n "$window" ]; }
wait_until "heliora's window did not appear (was the link read as an option?)" window_of_pid
import -window root "$out/launch-entry.png"

# WM_CLASS(STRING) = "instance", "class"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
echo "WM_CLASS class '$class'; StartupWMClass '$wm_class'"
[ "$class" = "$wm_class" ] || fail "the window's class '$class' differs from the entry's StartupWMClass '$wm_class'"
end_with TERM
[ ! -e "$hostile" ] || fail "a link that looks like an option was obeyed: $hostile was written"
echo "PASS: heliora started from its desktop entry"
