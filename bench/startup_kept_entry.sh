#!/usr/bin/env bash
# How soon the main window appears when a big kept entry (DIARY.TMP) waits in
# the program folder, under Xvfb with the openbox window manager; and how long
# until that entry is back in today's body and safe in a recovery copy (the
# program then removes DIARY.TMP).
#
#   bench/startup_kept_entry.sh [--program build/src/oribel] [--megabytes 50]
#                               [--runs 3] [--display :17]
#
# The display is started (and ended) here unless one is already running on it.
# Needs Xvfb, openbox and xdotool (ORIBEL_VISUAL_TOOLS=1 scripts/install-deps).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
program=$repo/build/src/oribel
megabytes=50
runs=3
display=:17
while [ $# -gt 0 ]; do
    case "$1" in
    --program) program=$2; shift 2 ;;
    --megabytes) megabytes=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --display) display=$2; shift 2 ;;
    *) echo "startup_kept_entry: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$program" ] || { echo "startup_kept_entry: no program at $program" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "startup_kept_entry: $*" >&2
    exit 1
}

export DISPLAY=$display
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    sleep 1
fi

# A body of Japanese and ASCII lines in Shift_JIS with CR LF, like every side file.
line=$(printf '今日は晴れ。近所の公園を一周した。The quick brown fox, line of the diary.' | iconv -f UTF-8 -t CP932)
yes "$line"$'\r' | head -c $((megabytes * 1024 * 1024)) >"$work/body.tmp" || true

elapsedMs() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

for run in $(seq "$runs"); do
    home=$work/run-$run
    mkdir -p "$home"/{home,config/Oribel,data,state,runtime,program}
    chmod 700 "$home/runtime"
    cp "$program" "$home/program/oribel"
    cp "$work/body.tmp" "$home/program/DIARY.TMP"
    # The entry's fields, so that no message stands in the way.
    printf '{"HKEY_CURRENT_USER\\\\software\\\\mervane\\\\Pagora\\\\Temp": {"TDY": "2026", "TDM": "12", "TDD": "8", "TDT": "big"}}\n' \
        >"$home/config/Oribel/registry.json"
    : >"$home/NOSPLASH.FLG"

    start=$(date +%s%N)
    (cd "$home" && HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
        XDG_STATE_HOME=$home/state XDG_RUNTIME_DIR=$home/runtime exec ./program/oribel) \
        >"$home/oribel.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    xdotool search --sync --all --onlyvisible --pid "$pid" --name 'Oribel   Ver' >/dev/null ||
        fail "the window did not appear"
    shown=$(elapsedMs "$start")
    for _ in $(seq 1200); do
        [ -e "$home/program/DIARY.TMP" ] || break
        kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$home/oribel.log")"
        sleep 0.1
    done
    [ ! -e "$home/program/DIARY.TMP" ] || fail "the kept entry was not restored within two minutes"
    safe=$(elapsedMs "$start")
    copy=$(find "$home/state/Oribel" -name '*.today.rcv' -size +$((megabytes * 1000))k | head -n 1)
    [ -n "$copy" ] || fail "no recovery copy holds the body"
    echo "startup_kept_entry: run $run: ${megabytes} MB kept entry: window shown after ${shown} ms;" \
         "body restored and safe in a recovery copy after ${safe} ms"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
