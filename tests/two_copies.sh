#!/usr/bin/env bash
# Two copies of the program saving their settings to one store at the same
# time lose nothing: each copy (tests/tools/store_driver) runs its cycles of
# load, change and save at full speed against the same settings file, checking
# at each load that its own earlier changes are there; at the end the store
# holds every entry and line both composed, each copy's last setting and a
# history whose newest page is the last one saved. Then both run at once for
# some rounds, each turning a switch of its own in both flag strings: neither
# loses the other's switch.
#
#   tests/two_copies.sh --driver build/tests/store_driver [--cycles 1000] [--dir FOLDER]
#
# The short form (100 cycles each) runs with the tests; 1000 cycles each is
# the full form.
set -euo pipefail

cycles=1000
driver=""
base=""
while [ $# -gt 0 ]; do
    case "$1" in
    --cycles) cycles=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --dir) base=$2; shift 2 ;;
    *) echo "two_copies: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$driver" ] || { echo "two_copies: --driver must name the store_driver program" >&2; exit 2; }
if [ -z "$base" ]; then
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
fi

work=$(mktemp -d "$base/oribel-two-copies.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "two_copies: FAILED: $*" >&2
    exit 1
}

store=$work/registry.json
start=$(date +%s%N)
"$driver" cycles "$store" A "$cycles" >"$work/A.log" 2>&1 &
pids+=($!)
"$driver" cycles "$store" B "$cycles" >"$work/B.log" 2>&1 &
pids+=($!)
for name in A B; do
    pid=${pids[0]}
    pids=("${pids[@]:1}")
    wait "$pid" || fail "copy $name: $(cat "$work/$name.log")"
done
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))

lines_a=$(awk '/^done/ { print $3 }' "$work/A.log")
lines_b=$(awk '/^done/ { print $3 }' "$work/B.log")
[ -n "$lines_a" ] && [ -n "$lines_b" ] || fail "a copy did not finish"
summary=$("$driver" check "$store" "A:$cycles:$lines_a" "B:$cycles:$lines_b") || fail "the store lost something"

# Two copies that both run while each turns its own switch, then both exit.
rounds=$(( cycles / 5 ))
[ "$rounds" -ge 2 ] || rounds=2
"$driver" seed "$store" || fail "the settings could not be completed"
mkdir "$work/meeting"
"$driver" rounds "$store" A B "$rounds" "$work/meeting" >"$work/A.log" 2>&1 &
pids+=($!)
"$driver" rounds "$store" B A "$rounds" "$work/meeting" >"$work/B.log" 2>&1 &
pids+=($!)
for name in A B; do
    pid=${pids[0]}
    pids=("${pids[@]:1}")
    wait "$pid" || fail "$(cat "$work/A.log" "$work/B.log")"
done
"$driver" switches "$store" "A:$rounds" "B:$rounds" || fail "a copy's switch was lost"
[ -z "$(find "$work" -name '*.lock')" ] || fail "a lock file was left: $(find "$work" -name '*.lock')"
echo "two_copies: two copies ran $cycles load-change-save cycles each on one store at once" \
     "(${elapsed} ms); no copy ever missed its own earlier change, and the $summary;" \
     "in $rounds rounds of both running while each turned its own switches, neither lost one"
