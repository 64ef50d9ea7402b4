# Shared by the whole-process measurements in bench/app (sourced, not run): the build they measure (the script's
# first argument, build/release by default) and its programs, virtual X servers of their own, process CPU time,
# and medians. Needs Xvfb and xdotool (scripts/setup installs them). Works from the repository's root.
cd "$(dirname "$0")/../.."
build=${1:-build/release}

# The path of a program of the build ($1: heliora or a program of bench/app); stops the script when it is missing.
program() {
    local path=$build/bench/app/$1
    [ "$1" != heliora ] || path=$build/src/app/heliora
    [ -x "$path" ] || { echo "missing $path; build the release preset first" >&2; exit 2; }
    echo "$path"
}
heliora=$(program heliora)

# A scratch folder that goes away on exit, with the servers and programs that the script started.
bench_work=$(mktemp -d)
bench_pids=()
bench_cleanup() {
    local pid
    for pid in "${bench_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${bench_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$bench_work"
}
trap bench_cleanup EXIT
# Qt wants a private runtime folder and reads the shared settings from the configuration folder: both fresh.
export XDG_RUNTIME_DIR=$bench_work XDG_CONFIG_HOME=$bench_work/config QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME"

# Starts an Xvfb server on a free display, large enough for a window at twice the pixels; sets x_display to its
# number.
start_x_server() {
    local file=$bench_work/display.$RANDOM$RANDOM
    Xvfb -displayfd 3 -screen 0 2048x2048x24 -nolisten tcp -noreset 3>"$file" >/dev/null 2>&1 &
    bench_pids+=($!)
    local tries=0
    until [ -s "$file" ]; do
        sleep 0.05
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || { echo "Xvfb did not start" >&2; return 1; }
    done
    x_display=$(head -n 1 "$file")
    # The number is written as the server starts listening; wait until it answers.
    tries=0
    until DISPLAY=:$x_display xdotool getdisplaygeometry >/dev/null 2>&1; do
        sleep 0.05
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || { echo "Xvfb :$x_display does not answer" >&2; return 1; }
    done
}

# CPU time of a process so far, in nanoseconds, summed over its threads (the scheduler's own count, exact to the
# nanosecond; /proc/PID/stat counts in 10 ms ticks).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }

# Prints "median min max" of the numbers in column $2 of file $1.
median_range() {
    sort -g -k "$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        print m, v[1], v[NR] }'
}

# Runs a program in the background on display $1 (the rest is the command); sets started_pid to its process id.
start_on() {
    local display=$1
    shift
    DISPLAY=:$display "$@" >/dev/null 2>&1 &
    started_pid=$!
    bench_pids+=("$started_pid")
}

# Sets `here` and `there` to the two X servers `first` and `second`, swapped in even rounds ($1), so that neither
# program keeps the same server.
alternate_servers() {
    here=$first there=$second
    if [ $(($1 % 2)) -eq 0 ]; then
        here=$second there=$first
    fi
}

# Ends a program started by start_on.
stop() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
