#!/usr/bin/env bash
# Installs the build into a scratch folder with `cmake --install` (prefix /usr under DESTDIR) and checks what a
# desktop finds there:
# - the programs in bin/, each with its manual page, and nothing of the tests or benchmarks anywhere;
# - the desktop entry named after the application id, whose Exec and TryExec programs are installed and whose
#   Icon names an icon present in every hicolor size from 16 to 512 pixels (each picture of its folder's size)
#   and as scalable SVG;
# - the AppStream metadata with the same id, launching that desktop entry, its newest release and the change
#   log's newest entry both at the project's version;
# - the heliora:// handler: update-desktop-database and xdg-mime, given only this prefix, name the entry.
#
# usage: installed_layout.sh BUILD_DIR APP_ID VERSION SCRATCH_DIR
set -euo pipefail

if [ $# -ne 4 ]; then
    sed -n '2,13p' "$0" >&2
    exit 2
fi
build=$1 id=$2 version=$3 scratch=$4

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
# DESTDIR keeps files with an absolute destination (autostart entries in /etc) inside the scratch folder too.
DESTDIR=$scratch cmake --install "$build" --prefix /usr >"$scratch/install.log"
prefix=$scratch/usr

share=$prefix/share
entry=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml

# The value of KEY in the desktop entry's [Desktop Entry] group (untranslated).
entry_value() {
    awk -v key="$1" -F= '/^\[/ { group = $0 } group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$entry"
}

# Programs and their manual pages.
[ -n "$(ls -A "$prefix/bin" 2>/dev/null)" ] || fail "nothing installed in bin/"
for program in "$prefix"/bin/*; do
    name=$(basename "$program")
    [ -x "$program" ] || fail "bin/$name is not executable"
    [ -f "$share/man/man1/$name.1.gz" ] || fail "bin/$name has no manual page share/man/man1/$name.1.gz"
done
for program in heliora heliora-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing"
done
stray=$(cd "$scratch" && find . \( -name '*_test*' -o -name '*_tests' -o -name '*bench*' -o -name '*.a' \
    -o -name '*.o' -o -path './include*' -o -name 'CMake*' \) -print)
[ -z "$stray" ] || fail "files that are not part of the product are installed: $stray"
for doc in copyright changelog.gz; do
    [ -f "$share/doc/heliora/$doc" ] || fail "share/doc/heliora/$doc is missing"
done

# The desktop entry.
if [ ! -f "$entry" ]; then
    fail "the desktop entry share/applications/$id.desktop is missing"
else
    exec_program=$(entry_value Exec | awk '{ print $1 }')
    [ -x "$prefix/bin/$exec_program" ] || fail "Exec names '$exec_program', which is not installed in bin/"
    try_exec=$(entry_value TryExec)
    [ -z "$try_exec" ] || [ -x "$prefix/bin/$try_exec" ] || fail "TryExec names '$try_exec', which is not installed"
    icon=$(entry_value Icon)
    [ "$icon" = "$id" ] || fail "Icon is '$icon', not the application id"
    for size in 16 24 32 48 64 128 256 512; do
        png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
        if [ ! -f "$png" ]; then
            fail "no ${size}x${size} icon"
            continue
        fi
        actual=$(identify -format '%wx%h' "$png")
        [ "$actual" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $actual pixels"
    done
    svg=$share/icons/hicolor/scalable/apps/$icon.svg
    if [ -f "$svg" ]; then
        head -c 512 "$svg" | grep -q '<svg' || fail "the scalable icon is not an SVG picture"
    else
        fail "no scalable icon"
    fi
fi

# The AppStream metadata.
if [ ! -f "$metainfo" ]; then
    fail "the metadata share/metainfo/$id.metainfo.xml is missing"
else
    component_id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)
    [ "$component_id" = "$id" ] || fail "the metadata's id is '$component_id'"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ "$launchable" = "$id.desktop" ] || fail "the metadata launches '$launchable', not $id.desktop"
    newest=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" | head -n 1)
    [ "$newest" = "$version" ] || fail "the metadata's newest release is '$newest', the project's version $version"
    grep -q "<mediatype>x-scheme-handler/heliora</mediatype>" "$metainfo" \
        || fail "the metadata does not say that Heliora handles heliora:// links"
fi
if [ -f "$share/doc/heliora/changelog.gz" ]; then
    logged=$(gzip -dc "$share/doc/heliora/changelog.gz" | sed -n '1s/^heliora (\([^)]*\)).*/\1/p')
    [ "$logged" = "$version" ] || fail "the change log's newest entry is '$logged', the project's version $version"
fi

# The link handler, as xdg-open finds it: through the MIME cache that the package system builds.
if [ -f "$entry" ]; then
    update-desktop-database "$share/applications"
    home=$scratch/home
    mkdir -p "$home"
    handler=$(env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CONFIG_DIRS="$scratch/etc/xdg" \
        XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$share" xdg-mime query default x-scheme-handler/heliora)
    [ "$handler" = "$id.desktop" ] || fail "xdg-mime names '$handler' as the heliora:// handler, not $id.desktop"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; installed files:" >&2
    (cd "$scratch" && find . -type f ! -name install.log | sort) >&2
    exit 1
fi
echo "PASS: installed layout under $prefix"
