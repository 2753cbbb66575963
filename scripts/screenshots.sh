#!/usr/bin/env bash
# Makes the screenshots of the README and the manual, docs/screenshots/*.png:
# starts Oribel under Xvfb with the openbox window manager in a throw-away home,
# types a diary entry on the first tab, composes it into a new page on the second
# tab, and captures each tab and the title dialog.
#
# Needs: a build (made here when $BUILD/src/oribel is missing), and Xvfb, openbox,
# xdotool and ImageMagick: ORIBEL_VISUAL_TOOLS=1 scripts/install-deps brings them.
#
# Usage: scripts/screenshots.sh            (BUILD=build by default)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build}
out=$repo/docs/screenshots

# What is typed: the diary entry's three lines and its title.
body=('朝から快晴。近所の公園をぐるりと一周した。'
    '帰りにパン屋で、焼きたてのクロワッサンを買った。'
    '午後は部屋の片づけ。明日は図書館へ行く予定。')
title='公園を一周'

for tool in Xvfb openbox xdotool xkbcomp import iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "screenshots: $tool is missing; run ORIBEL_VISUAL_TOOLS=1 scripts/install-deps" >&2
        exit 1
    fi
done
if [ ! -x "$build/src/oribel" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DORIBEL_WERROR=ON >/dev/null
    cmake --build "$build" --target oribel
fi

# A throw-away home: settings, data, state and a program folder of its own, so
# that nothing of the user's is read or written and the build folder stays clean.
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
    [ -f "$work/oribel.log" ] && cat "$work/oribel.log" >&2
    echo "screenshots: $*" >&2
    exit 1
}
mkdir -p "$work"/{home,config,data,state,runtime,program}
chmod 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
# xdotool types UTF-8 text only under a UTF-8 locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

cp "$build/src/oribel" "$work/program/"
# The page template that "新規" offers (Shift_JIS, CR LF, like every side file).
printf '%s\r\n' '<HTML>' '<HEAD>' \
    '<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">' \
    '<TITLE>わたしの日記</TITLE>' '</HEAD>' '<BODY>' '<H1>わたしの日記</H1>' \
    '<!-- 新しい日記はこの下に -->' '' '</BODY>' '</HTML>' |
    iconv -f UTF-8 -t CP932 >"$work/program/basehtml.txt"
# No splash window: the flag file lies in the folder the program starts in.
: >"$work/NOSPLASH.FLG"

# ---- The display ---------------------------------------------------------------
display=
for n in $(seq 90 119); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=:$n
        break
    fi
done
[ -n "$display" ] || fail "no free X display"
export DISPLAY=$display
# -noreset: the keymap set below must outlive the short-lived clients that come
# before openbox and the program.
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Every character to be typed gets a key of its own before anything starts, in
# the keymap's only group. Left to itself, xdotool binds a spare key to each
# character for the moment of typing it; the program re-reads the keymap after
# each change and, reading it late, loses or changes characters.
xkbcomp -xkb "$DISPLAY" "$work/keymap.xkb" 2>/dev/null
printf '%s' "${body[@]}" "$title" | grep -o '[^ -~]' | sort -u |
    while IFS= read -r char; do printf 'U%04X\n' "'$char"; done >"$work/keysyms"
# Keys 150 to 255 that no modifier uses take the characters; their old symbols go.
awk -v wanted="$(tr '\n' ' ' <"$work/keysyms")" '
    BEGIN { count = split(wanted, keysyms, " ") }
    FNR == NR {
        if ($0 ~ /^xkb_keycodes/) inKeycodes = 1
        else if ($0 ~ /^};/) inKeycodes = 0
        if (inKeycodes && $0 ~ /^ *<[A-Za-z0-9+-]+> *= *[0-9]+;/) {
            code = $3; sub(/;/, "", code)
            if (code + 0 >= 150) names[code + 0] = $1
        }
        rest = $0
        while ($0 ~ /modifier_map/ && match(rest, /<[A-Za-z0-9+-]+>/)) {
            modifier[substr(rest, RSTART, RLENGTH)] = 1
            rest = substr(rest, RSTART + RLENGTH)
        }
        next
    }
    FNR == 1 {
        used = 0
        for (code = 255; code >= 150 && used < count; code--)
            if ((code in names) && !(names[code] in modifier)) bound[names[code]] = keysyms[++used]
        if (used < count) { print "screenshots: too many different characters to type" > "/dev/stderr"; exit 1 }
    }
    /^xkb_symbols/ { inSymbols = 1 }
    inSymbols && $1 == "key" && ($2 in bound) { next }
    inSymbols && /^};/ {
        for (name in bound) printf "    key %s { [ %s ] };\n", name, bound[name]
        inSymbols = 0
    }
    { print }' "$work/keymap.xkb" "$work/keymap.xkb" >"$work/typing.xkb"
xkbcomp -w 0 "$work/typing.xkb" "$DISPLAY"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
(cd "$work" && exec ./program/oribel) >"$work/oribel.log" 2>&1 &
oribel=$!
pids+=("$oribel")

# ---- Driving the program -------------------------------------------------------
key() { xdotool key "$@"; sleep 0.3; }
# Waits until the program has used no processor time for half a second.
waitIdle() {
    local before after _
    for _ in $(seq 60); do
        before=$(awk '{print $14 + $15}' "/proc/$oribel/stat")
        sleep 0.5
        after=$(awk '{print $14 + $15}' "/proc/$oribel/stat")
        [ "$before" = "$after" ] && return
    done
}
typeText() {
    xdotool type --delay 40 "$1"
    waitIdle
}
# The id of the program's visible window whose title holds the text, if any.
findWindow() {
    local candidate
    for candidate in $(xdotool search --onlyvisible --pid "$oribel" 2>/dev/null || true); do
        if [[ "$(xdotool getwindowname "$candidate" 2>/dev/null)" == *"$1"* ]]; then
            echo "$candidate"
            return
        fi
    done
}
# Waits up to $2 tenths of a second for that window and gives it the keyboard
# (openbox does not always hand it to a new dialog); prints its id.
focusWindow() {
    local id= _
    for _ in $(seq "${2:-100}"); do
        id=$(findWindow "$1")
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || return 1
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id"
    sleep 0.3
    echo "$id"
}
# Presses a shortcut and waits for the dialog it opens; prints the dialog's id.
openDialog() {
    local id
    key "$1"
    id=$(focusWindow "$2" 50) || fail "no window titled '$2' after $1"
    echo "$id"
}
# Clicks at a point of the main window's client area (pixels from its top left).
clickAt() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
# Captures a window with its frame and title bar.
capture() { import -frame -window "$1" "$out/$2"; }

main='Oribel   Ver 3.32'
window=$(focusWindow "$main") || fail "the main window did not appear"
xdotool windowsize "$window" 860 620 windowmove "$window" 16 40
focusWindow "$main" >/dev/null
mkdir -p "$out"

# Today's page: the body (the caret is in it at start), the title, two weathers.
typeText "${body[0]}"
key Return
typeText "${body[1]}"
key Return
typeText "${body[2]}"
dialog=$(openDialog ctrl+t '今日の日記のタイトル')
typeText "$title"
capture "$dialog" title-dialog.png
key Return
focusWindow "$main" >/dev/null
# The weather boxes have no keyboard shortcut: the first box, then "天気拡張(&W)"
# and the second box it shows; Down picks the list items 晴れ and くもり.
clickAt 398 77
key Down
clickAt 471 77
key Down Down
clickAt 400 300

# The whole-file tab: a new page from the template (answering its question),
# the caret on the empty line under the comment, today's entry composed into
# it, and the page wrapped at the window edge so that no line is cut off.
key ctrl+Next
openDialog ctrl+n '新規日記HTMLファイルの作成' >/dev/null
key Return
focusWindow "$main" >/dev/null
key ctrl+Home
for _ in $(seq 8); do xdotool key Down; done
key ctrl+Insert
key alt+v
key Down Return
capture "$window" document.png

# Back on today's page, the caret moved: the status line then weighs the body
# against this month's average.
key ctrl+Prior
key Up
key ctrl+End
capture "$window" today.png

echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in ${out#"$repo"/}"
