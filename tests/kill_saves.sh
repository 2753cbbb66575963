#!/usr/bin/env bash
# Kills saves at random moments and checks that nothing is ever lost or half
# written:
#  - a 20 MB page saved over and over through textfile::write is, after each
#    SIGKILL, the old or the new text byte for byte, and the temporary file a
#    kill leaves is gone after the next save;
#  - a recovery copy written over and over is, after each SIGKILL, the
#    previous or the new copy, whole, as the next start finds it.
#
#   tests/kill_saves.sh --driver build/tests/save_driver [--kills 1000]
#                       [--recovery-kills N] [--megabytes 20] [--dir FOLDER]
#
# The short form (50 kills) runs with the tests; 1000 kills is the full form.
# The work folder is memory-backed (/dev/shm) where there is one: a kill does
# not depend on what the disk has flushed, and the runs stay short.
set -euo pipefail

kills=50
recovery_kills=""
megabytes=20
driver=""
base=""
while [ $# -gt 0 ]; do
    case "$1" in
    --kills) kills=$2; shift 2 ;;
    --recovery-kills) recovery_kills=$2; shift 2 ;;
    --megabytes) megabytes=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --dir) base=$2; shift 2 ;;
    *) echo "kill_saves: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$driver" ] || { echo "kill_saves: --driver must name the save_driver program" >&2; exit 2; }
recovery_kills=${recovery_kills:-$kills}
if [ -z "$base" ]; then
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
fi

work=$(mktemp -d "$base/oribel-kill-saves.XXXXXX")
driver_pid=""
cleanup() {
    if [ -n "$driver_pid" ]; then kill -KILL "$driver_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "kill_saves: FAILED: $*" >&2
    exit 1
}

# Temporary files of saves in a folder, one name a line.
leftovers() {
    find "$1" -maxdepth 1 -name '*.oribel-save-*' -printf '%f\n' | sort
}

# Waits until the driver's log says "ready" (or the driver ended).
wait_ready() {
    local log=$1 pid=$2 tries=0
    until grep -q '^ready' "$log"; do
        kill -0 "$pid" 2>/dev/null || fail "the driver ended before it was ready: $(cat "$log")"
        tries=$((tries + 1))
        [ $tries -lt 6000 ] || fail "the driver was not ready within a minute"
        sleep 0.01
    done
}

# Sleeps a random number of milliseconds below $1.
random_sleep() {
    local ms=$(( (RANDOM * 32768 + RANDOM) % ($1 + 1) ))
    sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
}

# ---- Page saves ----------------------------------------------------------------

pages=$work/pages
mkdir -p "$pages"
page=$pages/page.htm
"$driver" page "$page" "$megabytes" 0 --once >"$work/first.log" || fail "the first save failed"
save_ms=$(awk '/^saved/ { print $3 }' "$work/first.log")
window=$(( save_ms * 3 + 20 ))

last=0
mid_save=0
left_behind=0
for ((i = 1; i <= kills; i++)); do
    log=$work/page.log
    : >"$log"
    before=$(leftovers "$pages")
    "$driver" page "$page" "$megabytes" $((last + 1)) >"$log" &
    driver_pid=$!
    wait_ready "$log" "$driver_pid"
    random_sleep "$window"
    kill -KILL "$driver_pid" 2>/dev/null || true
    wait "$driver_pid" 2>/dev/null || true
    driver_pid=""

    announced=$(awk '/^saved/ { n = $2 } END { print n }' "$log")
    [ -n "$announced" ] && last=$announced
    found=$("$driver" check-page "$page" "$megabytes" "$last" $((last + 1))) ||
        fail "kill $i: the page is neither old nor new"
    [ "$found" != "$last" ] && mid_save=$((mid_save + 1))
    last=$found

    after=$(leftovers "$pages")
    if [ -n "$announced" ] && [ -n "$before" ]; then
        # A save went through in this run: the leftovers from before are gone.
        still=$(comm -12 <(echo "$before") <(echo "$after"))
        [ -z "$still" ] || fail "kill $i: a save left the earlier leftover $still"
    fi
    [ -n "$after" ] && left_behind=$((left_behind + 1))
done

# The next save clears what the last kill left.
"$driver" page "$page" "$megabytes" $((last + 1)) --once >/dev/null || fail "the last save failed"
"$driver" check-page "$page" "$megabytes" $((last + 1)) >/dev/null || fail "the last save is not whole"
[ "$(ls -A "$pages")" = "page.htm" ] || fail "left in the folder after the next save: $(ls -A "$pages")"
echo "kill_saves: page: $kills kills of ${megabytes} MB saves (window ${window} ms); $mid_save landed between"\
     "a save's rename and its report, $left_behind left a temporary file; every page was old or new, byte for byte,"\
     "and the next save removed every leftover"

# ---- Recovery copies -------------------------------------------------------------

offered=0
recovery_left=0
for ((i = 1; i <= recovery_kills; i++)); do
    folder=$work/state-$i
    log=$work/recovery.log
    : >"$log"
    "$driver" recovery "$folder" 512 0 >"$log" &
    driver_pid=$!
    wait_ready "$log" "$driver_pid"
    random_sleep 30
    kill -KILL "$driver_pid" 2>/dev/null || true
    wait "$driver_pid" 2>/dev/null || true
    driver_pid=""

    [ -n "$(leftovers "$folder")" ] && recovery_left=$((recovery_left + 1))
    announced=$(awk '/^wrote/ { n = $2 } END { print n }' "$log")
    if [ -n "$announced" ]; then
        allowed=("$announced" $((announced + 1)))
    else
        allowed=(none 0)
    fi
    found=$("$driver" check-recovery "$folder" 512 "${allowed[@]}") ||
        fail "recovery kill $i: the copy found ($found) is not the previous or the new one"
    [ "$found" != none ] && offered=$((offered + 1))
    rm -rf "$folder"
done
echo "kill_saves: recovery: $recovery_kills kills of 512 KB copies; $recovery_left left a temporary file;"\
     "$offered left a copy, every one whole (the previous or the new), and the next start removed every leftover"
