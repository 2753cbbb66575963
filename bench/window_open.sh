#!/bin/sh
# The real window started with a big page to open: the program is started
# under Xvfb with the auto-open setting pointing at a generated page (in a
# temporary home, configuration and program folder), and once it has gone
# idle the script reports, from /proc, the CPU time it spent from its start
# (user + system) and its peak memory (VmHWM).
#
#   bench/window_open.sh [-b BUILD] [-d :N] [-s] [-f FLAGS] [-o SHOT.png] [-r RUNS] FORM MEGABYTES
#
#   FORM       cp932 (CR LF lines), utf8 (the same text in UTF-8) or line (one
#              single line of CP932)
#   -b BUILD   the build folder holding src/oribel and bench/make_page
#              (default build-bench: make bench, or configure with -DORIBEL_BENCH=ON)
#   -d :N      the X display; an Xvfb (and openbox, when there) is started on
#              it unless one is running (default :16)
#   -s         show the splash window as a user sees it (default: NOSPLASH.FLG)
#   -f FLAGS   the stored AppSetFlags (default 02: open AlwaysOpenHtml at start;
#              0200000001 also wraps the document editor)
#   -o FILE    a screenshot of the screen once the program is idle
#   -r RUNS    how many starts (default 3); each is reported on its own line
#
# Idle: the window is shown and the program used less than 20 ms of CPU in
# each of two half seconds in a row. The CPU time reported is that at the
# start of the quiet time. A start that is not idle within 120 s is reported
# as such.
set -eu

build=build-bench
display=:16
splash=no
flags=02
shot=
runs=3
while getopts b:d:sf:o:r: option; do
    case $option in
    b) build=$OPTARG ;;
    d) display=$OPTARG ;;
    s) splash=yes ;;
    f) flags=$OPTARG ;;
    o) shot=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || { sed -n '9p' "$0" >&2; exit 2; }
form=$1
megabytes=$2
program=$build/src/oribel
make_page=$build/bench/make_page
[ -x "$program" ] && [ -x "$make_page" ] || { echo "build $program and $make_page first" >&2; exit 1; }

work=$(mktemp -d /tmp/oribel-window-open.XXXXXX)
started_x=
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    for p in $started_x; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Oribel" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME" \
    "$work/program"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DISPLAY=$display

if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    started_x="$!"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    if command -v openbox >/dev/null; then
        openbox >/dev/null 2>&1 &
        started_x="$! $started_x"
        sleep 0.5
    fi
fi

page=$work/page.htm
"$make_page" "$form" "$megabytes" "$page"
# The program in a folder of its own, so that its side files start afresh.
cp "$program" "$work/program/oribel"
[ "$splash" = yes ] || : >"$work/program/NOSPLASH.FLG"

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo -1; }

echo "page: $form, $(stat -c %s "$page") bytes"
run=1
while [ "$run" -le "$runs" ]; do
    # Auto-open AlwaysOpenHtml ('2' at position 1 of AppSetFlags); the defaults
    # pass fills the positions not given.
    cat >"$XDG_CONFIG_HOME/Oribel/registry.json" <<EOF
{"HKEY_CURRENT_USER\\\\software\\\\mervane\\\\Pagora": {"AppSetFlags": "$flags", "AlwaysOpenHtml": "$page"}}
EOF
    started=$(date +%s.%N)
    "$work/program/oribel" >/dev/null 2>&1 &
    pid=$!
    last=0
    quiet=0
    idle_cpu=
    while [ -d "/proc/$pid" ]; do
        sleep 0.5
        now=$(cpu_ticks "$pid")
        [ "$now" -ge 0 ] || break
        if [ $((now - last)) -le $((ticks / 50)) ] && xdotool search --pid "$pid" --onlyvisible >/dev/null 2>&1; then
            quiet=$((quiet + 1))
            [ "$quiet" -eq 1 ] && idle_cpu=$last && idle_at=$(date +%s.%N)
            [ "$quiet" -ge 2 ] && break
        else
            quiet=0
        fi
        last=$now
        if [ "$(echo "$(date +%s.%N) - $started > 120" | bc)" -eq 1 ]; then
            idle_cpu=
            break
        fi
    done
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    if [ -n "$idle_cpu" ]; then
        printf 'run %d: idle after %.1f s, CPU %.2f s, peak RSS %d MB\n' "$run" \
            "$(echo "$idle_at - $started - 0.5" | bc)" "$(echo "$idle_cpu / $ticks" | bc -l)" $((peak / 1024))
    else
        printf 'run %d: not idle within 120 s (CPU %.2f s so far), peak RSS %d MB\n' "$run" \
            "$(echo "$(cpu_ticks "$pid") / $ticks" | bc -l)" $((peak / 1024))
    fi
    if [ -n "$shot" ] && [ "$run" -eq "$runs" ]; then
        import -window root "$shot"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    run=$((run + 1))
done
