#!/usr/bin/env bash
# Each program's --version is one line, "NAME VERSION (build N)", with this build's version and build number, and
# needs no display. heliora-cli names the product, heliora.
#
# usage: programs_version.sh "VERSION (build N)" HELIORA HELIORA_CLI HELIORA_WIDGETS
set -euo pipefail
expected=$1
status=0
for program in "${@:2}"; do
    name=$(basename "$program")
    [ "$name" = heliora-cli ] && name=heliora
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1) || true
    if [ "$said" != "$name $expected" ]; then
        echo "FAIL: $(basename "$program") --version says '$said', not '$name $expected'" >&2
        status=1
    fi
done
[ "$status" -ne 0 ] || echo "PASS: every program says $expected"
exit "$status"
