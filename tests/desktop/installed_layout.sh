#!/usr/bin/env bash
# Installs the build into a scratch folder with `cmake --install` (prefix /usr under DESTDIR) and checks what a
# desktop finds there:
# - the programs in bin/, each with its manual page, and nothing of the tests or benchmarks anywhere;
# - the desktop entry named after the application id, whose Exec and TryExec programs are installed and whose
#   Icon names an icon present in every hicolor size from 16 to 512 pixels (each picture of its folder's size)
#   and as scalable SVG;
# - the AppStream metadata with the same id, launching that desktop entry and handling heliora:// links, its
#   newest release and the change log's newest entry both at the project's version;
# - the heliora:// handler: update-desktop-database and xdg-mime, given only this prefix, name the entry;
# - the widgets: the extension in lib/heliora/plugins/, which the installed heliora-widgets finds by itself and
#   draws with; the log-in entry in /etc/xdg/autostart/, valid, off until a user places a widget; both Plasma
#   applets under share/plasma/plasmoids/<id>/ with metadata naming that id, a main script, and the same
#   WidgetPicture.qml.
#
# usage: installed_layout.sh BUILD_DIR APP_ID VERSION SCRATCH_DIR
set -euo pipefail

if [ $# -ne 4 ]; then
    sed -n '2,/^# usage:/p' "$0" >&2
    exit 2
fi
build=$1 id=$2 version=$3 scratch=$4

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch/home"
chmod 700 "$scratch/home"
# DESTDIR keeps files with an absolute destination (autostart entries in /etc) inside the scratch folder too.
DESTDIR=$scratch cmake --install "$build" --prefix /usr >"$scratch/install.log"
prefix=$scratch/usr share=$scratch/usr/share
entry=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml

# The value of KEY in the desktop entry's [Desktop Entry] group (untranslated).
entry_value() {
    awk -v key="$1" -F= '/^\[/ { group = $0 }
        group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$entry"
}

for program in heliora heliora-cli heliora-widgets; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing"
done
for program in "$prefix"/bin/*; do
    [ -f "$share/man/man1/$(basename "$program").1.gz" ] || fail "bin/$(basename "$program") has no manual page"
done
stray=$(cd "$scratch" && find . \( -name '*_test*' -o -name '*_tests' -o -name '*bench*' -o -name '*.a' \
    -o -name '*.o' -o -path './include*' -o -name 'CMake*' \) -print)
[ -z "$stray" ] || fail "files that are not part of the product are installed: $stray"
for doc in copyright changelog.gz; do
    [ -f "$share/doc/heliora/$doc" ] || fail "share/doc/heliora/$doc is missing"
done

if [ -f "$entry" ]; then
    exec_program=$(entry_value Exec | awk '{ print $1 }')
    [ -x "$prefix/bin/$exec_program" ] || fail "Exec names '$exec_program', which is not installed in bin/"
    try_exec=$(entry_value TryExec)
    [ -z "$try_exec" ] || [ -x "$prefix/bin/$try_exec" ] || fail "TryExec names '$try_exec', which is not installed"
    [ "$(entry_value Icon)" = "$id" ] || fail "Icon is '$(entry_value Icon)', not the application id"
    for size in 16 24 32 48 64 128 256 512; do
        png=$share/icons/hicolor/${size}x${size}/apps/$id.png
        actual=$(identify -format '%wx%h' "$png" 2>/dev/null || echo none)
        [ "$actual" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $actual"
    done
    head -c 512 "$share/icons/hicolor/scalable/apps/$id.svg" 2>/dev/null | grep -q '<svg' || fail "no scalable icon"
    # The link handler, as xdg-open finds it: through the MIME cache that the package system builds.
    update-desktop-database "$share/applications"
    handler=$(env -i PATH="$PATH" HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" \
        XDG_CONFIG_DIRS="$scratch/etc/xdg" XDG_DATA_HOME="$scratch/home/.local/share" XDG_DATA_DIRS="$share" \
        xdg-mime query default x-scheme-handler/heliora)
    [ "$handler" = "$id.desktop" ] || fail "xdg-mime names '$handler' as the heliora:// handler, not $id.desktop"
else
    fail "the desktop entry share/applications/$id.desktop is missing"
fi

if [ -f "$metainfo" ]; then
    [ "$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)" = "$id" ] || fail "the metadata has another id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
        || fail "the metadata does not launch $id.desktop"
    newest=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" | head -n 1)
    [ "$newest" = "$version" ] || fail "the metadata's newest release is '$newest', the project's version $version"
    grep -q "<mediatype>x-scheme-handler/heliora</mediatype>" "$metainfo" \
        || fail "the metadata does not say that Heliora handles heliora:// links"
else
    fail "the metadata share/metainfo/$id.metainfo.xml is missing"
fi
logged=$(gzip -dc "$share/doc/heliora/changelog.gz" 2>/dev/null | sed -n '1s/^heliora (\([^)]*\)).*/\1/p')
[ "$logged" = "$version" ] || fail "the change log's newest entry is '$logged', the project's version $version"

# The widgets.
[ -f "$prefix/lib/heliora/plugins/HelioraWidgetExtension.so" ] || fail "the extension is not in lib/heliora/plugins/"
env -u HELIORA_WIDGET_PATH QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/home" \
    XDG_RUNTIME_DIR="$scratch/home" "$prefix/bin/heliora-widgets" --snapshot SolarSystemWidget small "$scratch/w.png" \
    >/dev/null 2>"$scratch/w.err" \
    || fail "the installed host cannot draw with the installed extension: $(cat "$scratch/w.err")"
[ "$(identify -format '%wx%h' "$scratch/w.png" 2>/dev/null)" = 169x169 ] || fail "the installed host drew no picture"
autostart=$scratch/etc/xdg/autostart/heliora-widgets.desktop
desktop-file-validate "$autostart" || fail "the autostart entry is missing or does not validate"
grep -q '^Exec=heliora-widgets --autostart$' "$autostart" || fail "the autostart entry does not start the host"
grep -q '^Hidden=true$' "$autostart" || fail "the autostart entry is on before any widget is placed"
for applet in app.heliora.widgets.solarsystem app.heliora.widgets.planetslist; do
    folder=$share/plasma/plasmoids/$applet
    grep -q "\"Id\": \"$applet\"" "$folder/metadata.json" 2>/dev/null || fail "the applet $applet is missing"
    main=$(sed -n 's/.*"X-Plasma-MainScript": "\([^"]*\)".*/\1/p' "$folder/metadata.json" 2>/dev/null)
    [ -f "$folder/contents/$main" ] || fail "the applet $applet has no main script contents/$main"
done
cmp -s "$share"/plasma/plasmoids/app.heliora.widgets.{solarsystem,planetslist}/contents/ui/WidgetPicture.qml \
    || fail "the applets' WidgetPicture.qml differ"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; installed files:" >&2
    (cd "$scratch" && find . -type f ! -name install.log | sort) >&2
    exit 1
fi
echo "PASS: installed layout under $prefix"
