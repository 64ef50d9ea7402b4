# Shared by the end-to-end scripts (sourced, not run). A script sets `arguments` (how many it takes, the last one the
# folder for pictures and logs, `out`) and `name` (its log is $out/$name.log) and sources this: a wrong count prints
# the script's header down to its usage line; else the script runs again under a virtual X server of its own (screen
# XTEST_SCREEN, 1280x1024x24 unless set). Then this gives a scratch folder `work` that goes away at exit with every
# program in `pid` and `pids`, `fail` (which leaves a picture of the screen and the program's log in `out`),
# waiting for windows and pictures, a fake desktop opener, and ending the program under test.

if [ $# -ne "$arguments" ]; then
    sed -n '2,/^# usage:/p' "$0" >&2
    exit 2
fi
if [ -z "${HELIORA_E2E_DISPLAY_READY:-}" ]; then
    exec env HELIORA_E2E_DISPLAY_READY=1 xvfb-run -a -s "-screen 0 ${XTEST_SCREEN:-1280x1024x24} -nolisten tcp" \
        "$0" "$@"
fi

out=${!#}
step_timeout=30
mkdir -p "$out"
work=$(mktemp -d)
chmod 700 "$work"
log=$out/$name.log
: >"$log"
pid=
pids=()
# Heliora's texts and dates in US English and UTC (the locale need not be installed: ICU and Qt carry their own),
# with settings and a runtime folder of the run's own.
mkdir "$work/config"
heliora_env=(env LC_ALL=en_US.UTF-8 LANGUAGE=en TZ=UTC XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work")

fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure-$name.png" 2>/dev/null || true
    if [ -s "$log" ]; then
        echo "--- the program's output ---" >&2
        cat "$log" >&2
    fi
    exit 1
}

xtest_cleanup() {
    local p
    for p in $pid "${pids[@]}"; do
        kill -KILL "$p" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap xtest_cleanup EXIT

# Puts a fake xdg-open first on PATH: it writes each address that it is asked to open as a line of $work/opened.
fake_opener() {
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    PATH=$work/bin:$PATH
}

# Waits until the command (the rest of the line) succeeds; fails with the message $1 after the step timeout, or at
# once when the program under test ($pid, if set) has ended.
wait_until() {
    local what=$1 deadline=$((SECONDS + step_timeout))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail "$what"
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly; waiting for: $what"
        sleep 0.1
    done
}

windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
window_count_is() { [ "$(windows_named "$1" | grep -c .)" -eq "$2" ]; }
wait_for_windows() { wait_until "expected $2 window(s) titled '$1'" window_count_is "$1" "$2"; }
focus() { timeout "$step_timeout" xdotool windowfocus --sync "$1" || fail "could not focus window $1"; }

# A checksum of a window's region: $1 window, $2 "WxH+X+Y" in window coordinates.
region_sum() { import -window "$1" -crop "$2" +repage ppm:- 2>/dev/null | md5sum | cut -d' ' -f1; }
region_differs() { [ "$(region_sum "$2" "$3")" != "$1" ]; } # $1 an earlier sum, then the window and region

# How many pixels of a window's region are close to a colour: $1 window, $2 region, $3 "R,G,B".
pixels_like() {
    local r g b
    IFS=, read -r r g b <<<"$3"
    import -window "$1" -crop "$2" +repage -depth 8 txt:- 2>/dev/null \
        | awk -v r="$r" -v g="$g" -v b="$b" -F'[(),]' 'NR > 1 {
              dr = $3 - r; dg = $4 - g; db = $5 - b
              if (dr * dr + dg * dg + db * db < 900) n++ }
          END { print n + 0 }'
}

# The region of the big date in heliora's main window $1: its content is 500 x 700 below the bars, the date the
# first line of text, 12 pixels below the content's top.
date_region() {
    local height
    height=$(xdotool getwindowgeometry --shell "$1" | awk -F= '$1 == "HEIGHT" { print $2 }')
    echo "300x44+16+$((height - 700 + 12))"
}
# The date cropped out of a picture $1 of the main window, into $2.
date_crop() { convert "$1" -crop "300x44+16+$(($(identify -format '%h' "$1") - 700 + 12))" +repage "$2"; }
# How many pixels of two pictures differ by more than a little.
differing() { { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'; }

# Sends signal $1 to the program ($pid; "none" sends nothing) and checks that it ends with status 0 within the step
# timeout; $2 says what ended it in the failure message.
end_with() {
    local why=${2:-SIG$1} deadline=$((SECONDS + step_timeout)) status=0
    [ "$1" = none ] || kill "-$1" "$pid"
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "the program did not end: $why"
        sleep 0.1
    done
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $why"
}
