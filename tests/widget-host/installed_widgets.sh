#!/usr/bin/env bash
# Installs the build into a scratch folder (prefix /usr under DESTDIR) and checks the widgets' part of it:
# - the extension in lib/heliora/plugins/, and the installed heliora-widgets finds it there by itself (no
#   HELIORA_WIDGET_PATH) and draws a widget with it;
# - the log-in entry in /etc/xdg/autostart/, valid, off until a user places a widget, starting heliora-widgets;
# - both Plasma applets under share/plasma/plasmoids/<id>/ with metadata naming that id, a main script, and the
#   same WidgetPicture.qml.
# usage: installed_widgets.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1 scratch=$2

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
DESTDIR=$scratch cmake --install "$build" --prefix /usr >"$scratch/install.log"
prefix=$scratch/usr

plugin=$prefix/lib/heliora/plugins/HelioraWidgetExtension.so
[ -f "$plugin" ] || fail "the extension is not installed in lib/heliora/plugins/"
host=$prefix/bin/heliora-widgets
if [ -x "$host" ]; then
    home=$scratch/home
    mkdir -p "$home"
    chmod 700 "$home"
    if ! env -u HELIORA_WIDGET_PATH XDG_CONFIG_HOME="$home" XDG_RUNTIME_DIR="$home" \
        "$host" --snapshot SolarSystemWidget small "$scratch/w.png" >"$scratch/snapshot.json" 2>"$scratch/snapshot.err"; then
        fail "the installed host cannot draw with the installed extension: $(cat "$scratch/snapshot.err")"
    fi
    [ "$(identify -format '%wx%h' "$scratch/w.png" 2>/dev/null)" = 169x169 ] || fail "the installed host drew no 169x169 picture"
else
    fail "bin/heliora-widgets is missing"
fi

entry=$scratch/etc/xdg/autostart/heliora-widgets.desktop
if [ -f "$entry" ]; then
    desktop-file-validate "$entry" || fail "the autostart entry does not validate"
    grep -q '^Exec=heliora-widgets --autostart$' "$entry" || fail "the autostart entry does not start heliora-widgets --autostart"
    grep -q '^Hidden=true$' "$entry" || fail "the autostart entry is on before any widget is placed"
else
    fail "no autostart entry in /etc/xdg/autostart"
fi

first=
for id in app.heliora.widgets.solarsystem app.heliora.widgets.planetslist; do
    applet=$prefix/share/plasma/plasmoids/$id
    [ -f "$applet/metadata.json" ] || { fail "the applet $id is not installed"; continue; }
    grep -q "\"Id\": \"$id\"" "$applet/metadata.json" || fail "the applet $id's metadata names another id"
    main=$(sed -n 's/.*"X-Plasma-MainScript": "\([^"]*\)".*/\1/p' "$applet/metadata.json")
    [ -f "$applet/contents/$main" ] || fail "the applet $id has no main script contents/$main"
    picture=$applet/contents/ui/WidgetPicture.qml
    if [ -z "$first" ]; then
        first=$picture
    else
        cmp -s "$first" "$picture" || fail "the applets' WidgetPicture.qml differ"
    fi
done

[ "$failures" -eq 0 ] || exit 1
echo "PASS: the widgets' files are installed and work from the installed layout"
