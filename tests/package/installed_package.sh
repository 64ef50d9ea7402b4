#!/usr/bin/env bash
# Installs the Heliora package on this system with apt-get, as a user would, and checks it as a user meets it.
# scripts/test-package runs it as root inside a clean Debian 12 root made with debootstrap; it changes the system
# it runs on (packages, a user "tester"), so it is not meant for a developer's own machine.
#
# 1. apt-get install ./heliora_<version>_amd64.deb on the clean system (its Depends alone must be enough);
# 2. heliora --screenshot works from /usr/bin, as a plain user, and heliora-cli reads a link;
# 3. xdg-mime names app.heliora.Heliora.desktop as the heliora:// handler;
# 4. under Xvfb, xdg-open 'heliora://?date=20240131' starts /usr/bin/heliora with the link after "--", and its
#    window shows that day: its date matches the date of a reference picture of the same day (made by
#    heliora --screenshot on the same X server) and differs from one of another day;
# 5. with Heliora running, xdg-open 'heliora://?date=19910109' exits 0 and the running window moves to that day;
# 6. apt-get purge removes every file of the package and the link handler.
# Pictures and logs go to OUT_DIR.
#
# usage: installed_package.sh PACKAGE.deb OUT_DIR
set -euo pipefail

user=tester
home=/home/$user
step_timeout=30
link_day='heliora://?date=20240131'
second_day='heliora://?date=19910109'
id=app.heliora.Heliora

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() {
    echo
    echo "== $*"
}

# The part that runs as the user, on a virtual X server: steps 4 and 5.
if [ "${1:-}" = "--under-x" ]; then
    out=$2
    pid=
    opener=
    cleanup() {
        [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
        [ -z "$opener" ] || kill -KILL "$opener" 2>/dev/null || true
    }
    trap cleanup EXIT

    # The date in a picture of the main window: the content is 500 x 700 below whatever bar the window has
    # on top, and the date is the first line of text, 12 pixels below the content's top.
    date_crop() {
        local height
        height=$(identify -format '%h' "$1")
        convert "$1" -crop "300x44+16+$((height - 700 + 12))" +repage "$2"
    }
    # How many pixels of two pictures differ by more than a little.
    differing() {
        { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'
    }
    # Waits until the running window's date matches the reference picture.
    wait_for_date() {
        local reference=$1 name=$2 deadline=$((SECONDS + step_timeout)) n
        while :; do
            import -window "$window" "$out/$name.png"
            date_crop "$out/$name.png" "$out/$name-date.png"
            n=$(differing "$out/$name-date.png" "$reference")
            [ "$n" -gt 20 ] || break
            [ $SECONDS -lt $deadline ] || fail "the window's date does not match $reference ($n pixels differ)"
            sleep 0.2
        done
        echo "the window's date matches $(basename "$reference") ($n pixels differ)"
    }

    # References, before Heliora runs: the same program, on this X server, at each day.
    for day in 2024-01-31 2024-02-01 1991-01-09; do
        QT_QPA_PLATFORM=xcb heliora --screenshot "$out/reference-$day.png" --date "${day}T00:00:00Z" \
            >>"$out/reference.log" 2>&1 || fail "heliora --screenshot --date $day failed"
        date_crop "$out/reference-$day.png" "$out/reference-$day-date.png"
    done
    n=$(differing "$out/reference-2024-01-31-date.png" "$out/reference-2024-02-01-date.png")
    [ "$n" -gt 100 ] || fail "the date crops of two days hardly differ ($n pixels): the crop misses the date"

    echo "xdg-open '$link_day'"
    xdg-open "$link_day" >"$out/xdg-open-first.log" 2>&1 &
    opener=$!
    window=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --classname '^heliora$' | head -n 1) \
        || fail "no Heliora window appeared after xdg-open"
    pid=$(xprop -id "$window" _NET_WM_PID | awk '{ print $3 }')
    [ -n "$pid" ] || fail "the window has no _NET_WM_PID"
    exe=$(readlink "/proc/$pid/exe")
    args=$(tr '\0' ' ' <"/proc/$pid/cmdline")
    echo "window $window: process $pid, $exe, command line: $args"
    [ "$exe" = /usr/bin/heliora ] || fail "the window belongs to $exe, not /usr/bin/heliora"
    [ "$args" = "/usr/bin/heliora -- $link_day " ] || [ "$args" = "heliora -- $link_day " ] \
        || fail "heliora was started as '$args', not with the link after --"

    wait_for_date "$out/reference-2024-01-31-date.png" xdg-open-20240131
    n=$(differing "$out/xdg-open-20240131-date.png" "$out/reference-2024-02-01-date.png")
    [ "$n" -gt 100 ] || fail "the window's date also matches the next day ($n pixels differ)"
    import -window root "$out/screen-20240131.png"

    echo "xdg-open '$second_day' with Heliora running"
    second_status=0
    timeout "$step_timeout" xdg-open "$second_day" >"$out/xdg-open-second.log" 2>&1 || second_status=$?
    [ "$second_status" -ne 124 ] \
        || fail "the second launch did not end: it did not hand its link to the running Heliora"
    [ "$second_status" -eq 0 ] || fail "the second xdg-open exited with status $second_status"
    kill -0 "$pid" 2>/dev/null || fail "the running Heliora ended"
    wait_for_date "$out/reference-1991-01-09-date.png" xdg-open-19910109
    windows=$(xdotool search --onlyvisible --classname '^heliora$' | grep -c .)
    [ "$windows" -eq 1 ] || fail "$windows Heliora windows are open, expected the one"
    import -window root "$out/screen-19910109.png"

    kill -TERM "$pid"
    status=0
    wait "$opener" || status=$?
    opener=
    pid=
    [ "$status" -eq 0 ] || fail "xdg-open (and with it heliora) ended with status $status after SIGTERM"
    exit 0
fi

if [ $# -ne 2 ]; then
    sed -n '2,16p' "$0" >&2
    exit 2
fi
deb=$(realpath "$1")
out=$2
[ "$(id -u)" -eq 0 ] || fail "needs root: it installs packages"
export DEBIAN_FRONTEND=noninteractive
apt_options=(-y -q -o Dpkg::Use-Pty=0)
mkdir -p "$out"

id -u "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
chown "$user:" "$out"
# Runs a command as the user, with a plain login environment in US English and UTC (ICU and Qt carry their own
# locale data: the system's locales need not be generated).
as_user() {
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" SHELL=/bin/bash \
        PATH=/usr/local/bin:/usr/bin:/bin LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC "$@"
}

step "apt-get install $(basename "$deb") on a clean system"
apt-get "${apt_options[@]}" update
before=$(dpkg-query -W -f '${Package}\n' | sort)
apt-get "${apt_options[@]}" install "$deb"
dpkg-query -W -f '${Package} ${Version} ${Status}\n' heliora
comm -13 <(echo "$before") <(dpkg-query -W -f '${Package}\n' | sort) >"$out/packages-added.txt"
echo "$(grep -c . "$out/packages-added.txt") packages added"

step "the programs, from /usr/bin"
for program in heliora heliora-cli; do
    found=$(as_user sh -c "command -v $program") || true
    [ "$found" = "/usr/bin/$program" ] || fail "$program is found at '$found', not /usr/bin/$program"
    echo "$program: $found"
done
# Before any test tool is installed: what the package's Depends bring must be enough to render.
as_user heliora --screenshot "$home/heliora.png" >"$out/screenshot.log" 2>&1 \
    || { cat "$out/screenshot.log" >&2; fail "heliora --screenshot failed"; }
cp "$home/heliora.png" "$out/heliora-screenshot.png"
[ "$(head -c 8 "$out/heliora-screenshot.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] \
    || fail "heliora --screenshot did not write a PNG file"
parsed=$(as_user heliora-cli link parse "$link_day" --time-zone UTC) || fail "heliora-cli link parse failed"
echo "heliora-cli link parse: $parsed"
echo "$parsed" | grep -q '"local": *"2024-01-31T00:00:00+00:00"' || fail "heliora-cli read the link wrongly"

step "the test tools (a desktop has them: X, xdg-utils, desktop-file-utils)"
apt-get "${apt_options[@]}" install --no-install-recommends xvfb xauth xdotool imagemagick x11-utils \
    xdg-utils desktop-file-utils >"$out/test-tools.log"
size=$(identify -format '%wx%h' "$out/heliora-screenshot.png")
echo "heliora --screenshot: $size PNG"
[ "${size%x*}" -eq 500 ] && [ "${size#*x}" -ge 700 ] || fail "the screenshot is $size, expected 500 x 700 or more"

step "the heliora:// handler"
handler=$(as_user xdg-mime query default x-scheme-handler/heliora)
echo "xdg-mime query default x-scheme-handler/heliora: $handler"
[ "$handler" = "$id.desktop" ] || fail "the heliora:// handler is '$handler', not $id.desktop"

step "xdg-open under Xvfb"
# A failure here still lets the removal be checked; the verdict at the end counts it.
under_x=passed
as_user xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$(realpath "$0")" --under-x "$out" \
    || under_x=failed

step "apt-get purge heliora"
dpkg -L heliora | sort >"$out/package-files.txt"
apt-get "${apt_options[@]}" purge heliora >"$out/purge.log"
left=$(while read -r path; do [ -f "$path" ] && echo "$path"; done <"$out/package-files.txt" || true)
[ -z "$left" ] || fail "files left after purge: $left"
! grep -rs 'x-scheme-handler/heliora' /usr/share/applications/mimeinfo.cache \
    || fail "the MIME cache still names a heliora:// handler"
handler=$(as_user xdg-mime query default x-scheme-handler/heliora)
[ -z "$handler" ] || fail "after purge, xdg-mime still names '$handler'"
echo "no file of the package and no heliora:// handler left"

echo
[ "$under_x" = passed ] || fail "xdg-open under Xvfb (above); everything else passed"
echo "PASS: the package installs, runs from /usr/bin, handles heliora:// links and is removed cleanly"
