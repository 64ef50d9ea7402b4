#!/usr/bin/env bash
# The host links the widget interface and Qt only: the orrery, the string table, the settings store and the
# views belong to the extension, so that a process holds one copy of each. Fails when the host's symbols name
# any of them, or when the extension's do not (which would mean the check looks for the wrong names).
# usage: links_no_orrery.sh HOST EXTENSION
set -euo pipefail
host=$1 extension=$2
pattern='heliora::(paintOrrery|layoutOrrery|Strings::|SharedSettings::|SolarSystemView::|PlanetsList::|orbitalAngle)'
found=$(nm -C "$host" | grep -E "$pattern" || true)
if [ -n "$found" ]; then
    echo "FAIL: the host carries code of the extension's libraries:" >&2
    echo "$found" | head -20 >&2
    exit 1
fi
symbols=$(nm -C "$extension")
for name in paintOrrery layoutOrrery; do
    grep -q "heliora::$name" <<<"$symbols" || { echo "FAIL: the extension has no heliora::$name" >&2; exit 1; }
done
echo "PASS: $(basename "$host") has no orrery code; the extension has it"
