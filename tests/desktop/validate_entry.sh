#!/usr/bin/env bash
# Validates a desktop entry with desktop-file-validate and fails on every error and warning it reports (hints are
# shown, not counted).
#
# The entry follows version 1.5 of the desktop entry format (SingleMainWindow). Debian 12's validator knows
# only 1.4 and calls both the version and that key errors; a version that knows 1.5 says nothing about them.
# Which of its messages stem from its age is asked of the validator itself, with a minimal valid 1.5 entry:
# exactly those messages, and nothing else, are let through.
#
# usage: validate_entry.sh FILE.desktop
set -euo pipefail

if [ $# -ne 1 ]; then
    sed -n '2,9p' "$0" >&2
    exit 2
fi
entry=$1
[ -f "$entry" ] || { echo "FAIL: no file $entry" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The probe has the same file name, so that its messages read exactly like the entry's.
mkdir "$work/probe"
probe="$work/probe/$(basename "$entry")"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Version=1.5' 'Name=Probe' 'Exec=probe' \
    'SingleMainWindow=true' >"$probe"
(cd "$work/probe" && desktop-file-validate "$(basename "$probe")" 2>&1 || true) \
    | grep -E ': (error|warning): ' >"$work/too-old" || true

status=0
output=$(cd "$(dirname "$entry")" && desktop-file-validate "$(basename "$entry")" 2>&1) || status=$?
echo "$output"
if [ -s "$work/too-old" ]; then
    echo "(this validator predates version 1.5 of the format; it calls these errors:)"
    sed 's/^/    /' "$work/too-old"
fi

problems=$(echo "$output" | grep -E ': (error|warning): ' | grep -vxF -f "$work/too-old" || true)
if [ -n "$problems" ]; then
    echo "FAIL: desktop-file-validate reports:" >&2
    echo "$problems" >&2
    exit 1
fi
# A validator that fails without saying why is a failure too.
if [ "$status" -ne 0 ] && [ ! -s "$work/too-old" ]; then
    echo "FAIL: desktop-file-validate exited with status $status" >&2
    exit 1
fi
echo "desktop-file-validate: no errors or warnings in $(basename "$entry")"
