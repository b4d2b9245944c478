#!/bin/sh
# The demo under Wine with every D3DX9 library disabled: the "Error" box
# appears, no other window opens, and closing the box ends the program with
# exit code 0. Uses the display and prefix of the wine session.
# Usage: demo_error_box.sh WORK_DIR PROGRAM WINE_STATE_DIR
set -u
work=$1
program=$2
state=$3
for tool in wine xdotool import; do
    command -v $tool >/dev/null 2>&1 || { echo "demo_error_box: $tool is not installed; test skipped" >&2; exit 77; }
done
[ -s "$state/display" ] || { echo "demo_error_box: no wine session; test skipped" >&2; exit 77; }
rm -rf "$work"
mkdir -p "$work"
DISPLAY=$(cat "$state/display")
WINEPREFIX="$state/prefix"
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml=;d3dx9_24,d3dx9_25,d3dx9_26,d3dx9_27=d"
export DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
program_pid=""
trap '[ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null' EXIT
fail() {
    echo "demo_error_box: $*" >&2
    exit 1
}

wine "$program" >"$work/stdout.txt" 2>"$work/stderr.txt" &
program_pid=$!
box=""
i=0
while [ -z "$box" ] && [ $i -lt 300 ]; do
    box=$(xdotool search --name '^Error$' 2>/dev/null | head -n1)
    [ -z "$box" ] && sleep 0.1
    i=$((i + 1))
done
[ -n "$box" ] || fail "no window titled 'Error' appeared"
sleep 1
import -window root "$work/error-box.png" 2>/dev/null
# The demo's own window would have a frame-rate title or the empty title of
# class WindowClass_0; neither may exist.
xdotool search --name '^fps: ' >/dev/null 2>&1 && fail "the demo's window opened"
xdotool search --classname 'WindowClass_0' >/dev/null 2>&1 && fail "the demo's window class has a window"

xdotool windowfocus "$box" 2>/dev/null
xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
i=0
while kill -0 "$program_pid" 2>/dev/null && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after the box was closed"
wait "$program_pid"
status=$?
program_pid=""
[ $status -eq 0 ] || fail "exit code $status"
echo "demo_error_box: passed"
