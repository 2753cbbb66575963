#!/usr/bin/env bash
# Japanese typed through a real input method: a throw-away X server (Xvfb), a
# session bus and fcitx5 with Mozc, and the program with Qt's fcitx plugin
# (QT_IM_MODULE=fcitx). With TodayImeFlag '1' the input method must be on in
# today's body at start without a key press, and off on the document tab. The
# script types romaji with xdotool, converts and commits ("nikki", Space,
# Enter: 日記), into the page (saved with Ctrl+S) and into today's body (kept
# with Ctrl+F4 in DIARY.TMP), and checks the CP932 bytes of both files.
#
#   tests/input_method.sh --program build/src/oribel
#
# Mozc refuses to run as the superuser: as root the whole desktop runs as the
# user "nobody" (setpriv) with a throw-away home. Exit code 77 (a skip) only
# when a needed program or plugin is not installed (scripts/install-deps
# brings them all).
set -euo pipefail

SKIP=77
program=""
inner=0
while [ $# -gt 0 ]; do
    case "$1" in
    --program) program=$2; shift 2 ;;
    --inner) inner=1; shift ;;
    *) echo "input_method: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$program" ] || { echo "input_method: --program must name the oribel program" >&2; exit 2; }
program=$(readlink -f "$program")
script=$(readlink -f "$0")

# ORIBEL_IM_SHOTS=folder keeps a screenshot of the failure there.
fail() {
    echo "input_method: FAILED: $*" >&2
    if [ -n "${ORIBEL_IM_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        import -display "$DISPLAY" -window root "$ORIBEL_IM_SHOTS/input_method_failure.png" 2>/dev/null || true
    fi
    exit 1
}

# ---- Outside: check what is installed, become an ordinary user -------------
if [ "$inner" = 0 ]; then
    missing=()
    for tool in Xvfb dbus-daemon dbus-send fcitx5 xdotool; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    plugin=""
    for dir in /usr/lib/*/qt6/plugins/platforminputcontexts /usr/lib/qt6/plugins/platforminputcontexts; do
        [ -e "$dir/libfcitx5platforminputcontextplugin.so" ] && plugin=$dir
    done
    [ -n "$plugin" ] || missing+=("fcitx5-frontend-qt6")
    ls /usr/lib/*/fcitx5/fcitx5-mozc.so >/dev/null 2>&1 || missing+=("fcitx5-mozc")
    if [ "$(id -u)" -eq 0 ]; then command -v setpriv >/dev/null || missing+=("setpriv"); fi
    if [ ${#missing[@]} -gt 0 ]; then
        echo "input_method: SKIPPED: not installed: ${missing[*]} (scripts/install-deps installs them)"
        exit $SKIP
    fi

    work=$(mktemp -d "${TMPDIR:-/tmp}/oribel-input-method.XXXXXX")
    trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
    chmod 755 "$work"
    env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 TMPDIR="$work/tmp"
        ORIBEL_IM_SHOTS="${ORIBEL_IM_SHOTS:-}")
    mkdir -p "$work/home" "$work/tmp"
    # The desktop runs copies of this script and of the program from a folder
    # it may not write to: the checkout may lie where only root can enter, and
    # a program whose own folder is not writable keeps its side files (the
    # splash flag, DIARY.TMP) in the throw-away home, never in the build.
    mkdir -p "$work/bin"
    cp "$script" "$work/bin/input_method.sh"
    cp "$program" "$work/bin/oribel"
    chmod 555 "$work/bin"
    if [ "$(id -u)" -eq 0 ]; then
        chown -R nobody:nogroup "$work/home" "$work/tmp"
        chmod 1777 "$work/tmp"
        "${env[@]}" setpriv --reuid=nobody --regid=nogroup --clear-groups \
            bash "$work/bin/input_method.sh" --inner --program "$work/bin/oribel"
    else
        "${env[@]}" bash "$work/bin/input_method.sh" --inner --program "$work/bin/oribel"
    fi
    exit $?
fi

# ---- Inside, as an ordinary user with a throw-away home ----------------------
start=$(date +%s)
pids=()
cleanup() {
    # Newest first: the program, fcitx5 (and Mozc's server, which it started:
    # its processes carry our home), the bus, the X server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    for proc in /proc/[0-9]*; do
        if { tr '\0' '\n' <"$proc/environ"; } 2>/dev/null | grep -qx "HOME=$HOME"; then
            pid=${proc#/proc/}
            [ "$pid" != $$ ] && kill "$pid" 2>/dev/null || true
        fi
    done
}
trap cleanup EXIT

# Waits up to $1 seconds (in tenths) for the command after it to succeed.
wait_for() {
    local tenths=$(($1 * 10))
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

export XDG_CONFIG_HOME=$HOME/config XDG_DATA_HOME=$HOME/data XDG_STATE_HOME=$HOME/state \
    XDG_CACHE_HOME=$HOME/cache XDG_RUNTIME_DIR=$HOME/runtime
mkdir -p "$XDG_CONFIG_HOME/fcitx5" "$XDG_CONFIG_HOME/Oribel" "$XDG_DATA_HOME/Oribel" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# X server on a free display.
exec 3>"$HOME/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$HOME/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for 10 test -s "$HOME/display" || fail "Xvfb did not start: $(cat "$HOME/xvfb.log")"
export DISPLAY=:$(cat "$HOME/display")

# Session bus.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$HOME/bus
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >"$HOME/dbus.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$HOME/bus" || fail "the session bus did not start: $(cat "$HOME/dbus.log")"

# fcitx5 with Mozc as the second input method of the group: "on" is Mozc.
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
fcitx5 --disable=wayland,waylandim,kimpanel,notificationitem,clipboard >"$HOME/fcitx5.log" 2>&1 &
pids+=($!)
fcitx_state() {
    dbus-send --session --print-reply=literal --dest=org.fcitx.Fcitx5 /controller \
        org.fcitx.Fcitx.Controller1.State 2>/dev/null | awk '{ print $2 }'
}
state_is() { [ "$(fcitx_state)" = "$1" ]; }
fcitx_up() { [ -n "$(fcitx_state)" ]; }
wait_for 10 fcitx_up || fail "fcitx5 did not come up: $(tail -5 "$HOME/fcitx5.log")"

# The settings of an earlier run: the input method on in today's body, the
# page opened at start, no warning at the first "<", no splash window.
page=$HOME/page.htm
printf '<html>\r\n<body>\r\n</body>\r\n</html>\r\n' >"$page"
cat >"$XDG_CONFIG_HOME/Oribel/registry.json" <<EOF
{"HKEY_CURRENT_USER\\\\software\\\\mervane\\\\Pagora": {
  "AppSetFlags": "021110000000W", "AlwaysOpenHtml": "$page", "Version": "3.32"}}
EOF
: >"$XDG_DATA_HOME/Oribel/NOSPLASH.FLG"

QT_IM_MODULE=fcitx QT_QPA_PLATFORM=xcb "$program" >"$HOME/oribel.log" 2>&1 &
oribel=$!
pids+=($oribel)
# The main window's title names the version ("Oribel   Ver 3.32 …"); the
# splash window, should one show, is only "Oribel".
wait_for 15 xdotool search --onlyvisible --pid "$oribel" --name '^Oribel +Ver' ||
    fail "the window did not show: $(tail -5 "$HOME/oribel.log")"
window=$(xdotool search --onlyvisible --pid "$oribel" --name '^Oribel +Ver' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# On in today's body, without a key press.
wait_for 5 state_is 2 || fail "the input method is not on in today's body at start (state $(fcitx_state))"

# Romaji into today's body: a composition, converted, committed.
typed() {
    xdotool type --delay 60 nikki
    sleep 0.5
    xdotool key --delay 200 space Return
    sleep 0.5
}
typed

# The document tab: off there.
xdotool key ctrl+Tab
wait_for 5 state_is 1 || fail "the input method is not off on the document tab (state $(fcitx_state))"
# The user switches it on and types into the page, then saves it.
dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 /controller org.fcitx.Fcitx.Controller1.Activate >/dev/null
wait_for 5 state_is 2 || fail "the input method did not come on in the page"
typed
xdotool key ctrl+s
nikki='93 fa 8b 4c'
# Whether file holds exactly the bytes given in hexadecimal.
bytes_are() {
    [ "$(od -An -v -tx1 "$1" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')" = "$2" ]
}
crlf='0d 0a'
expected_page="$nikki 3c 68 74 6d 6c 3e $crlf 3c 62 6f 64 79 3e $crlf 3c 2f 62 6f 64 79 3e $crlf 3c 2f 68 74 6d 6c 3e $crlf"
wait_for 5 bytes_are "$page" "$expected_page" || fail "the page's bytes: $(od -An -tx1 "$page")"

# Back to today's body (on again), kept for the next run with Ctrl+F4.
xdotool key ctrl+Tab
wait_for 5 state_is 2 || fail "the input method is not on again in today's body"
xdotool key ctrl+F4
kept=$XDG_DATA_HOME/Oribel/DIARY.TMP
wait_for 10 test -s "$kept" || fail "today's body was not kept: $(tail -5 "$HOME/oribel.log")"
bytes_are "$kept" "$nikki" || fail "DIARY.TMP's bytes: $(od -An -tx1 "$kept")"
# The box that says the entry is kept and the program ends: OK, once it is there.
exited() {
    local stat
    stat=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
    [[ $stat == Z* ]] && return 0
    xdotool search --onlyvisible --pid "$1" --name '^Oribel$' >/dev/null 2>&1 && xdotool key Return
    return 1
}
wait_for 10 exited "$oribel" || fail "the program did not exit after Ctrl+F4"

echo "input_method: passed in $(($(date +%s) - start)) s (input method on at start, off on the document tab; 日記 typed into body and page)"
