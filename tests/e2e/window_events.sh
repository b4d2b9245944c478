#!/bin/sh
# End-to-end test of the window layer on the SDL host: starts its own Xvfb,
# runs the event printer, clicks each button, presses Tab and Space and asks
# to close with Alt+F4, then checks the printed events. Stops the Xvfb and
# the program by their process ids.
# Usage: window_events.sh PROGRAM WORK_DIR
set -u
program=$1
work=$2
for tool in Xvfb xdotool; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "window_events: $tool is not installed; test skipped" >&2
        exit 77
    fi
done
mkdir -p "$work"
out="$work/events.txt"
rm -f "$out" "$work/displayfd"
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
i=0
while [ ! -s "$work/displayfd" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -s "$work/displayfd" ] || { echo "window_events: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/displayfd")"
export DISPLAY
unset WAYLAND_DISPLAY

"$program" >"$out" 2>"$work/stderr.txt" &
program_pid=$!
i=0
while ! grep -q '^ready' "$out" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
ready=$(grep '^ready' "$out" | head -n1)
[ -n "$ready" ] || { echo "window_events: the program did not open its window" >&2; cat "$out" "$work/stderr.txt" >&2; exit 1; }
x=$(echo "$ready" | cut -d' ' -f2)
y=$(echo "$ready" | cut -d' ' -f3)

wid=$(xdotool search --pid "$program_pid" 2>/dev/null | head -n1)
[ -n "$wid" ] && xdotool windowfocus "$wid" 2>/dev/null
sleep 0.3
for column in 100 300 500; do
    xdotool mousemove $((x + column)) $((y + 590)) click 1
    sleep 0.3
done
xdotool key Tab
sleep 0.3
xdotool key space
sleep 0.3
xdotool key alt+F4
i=0
while kill -0 "$program_pid" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "window_events: the program did not end after the close request" >&2
    cat "$out" >&2
    exit 1
fi
wait "$program_pid"
status=$?
program_pid=""

fail=0
gadgets=$(grep '^event 13100 gadget' "$out" | cut -d' ' -f4 | tr '\n' ' ')
# A click on each button, then Space on the button that Tab moved to (from
# the last clicked one it wraps to the first).
if [ "$gadgets" != "0 1 2 0 " ]; then
    echo "window_events: gadget events were '$gadgets', expected '0 1 2 0 '" >&2
    fail=1
fi
# The Tab key-down comes back as its own number, between the third and fourth gadget event.
if ! awk '/^event 13100/ { g++ } /^event 256$/ && g == 3 { found = 1 } END { exit !found }' "$out"; then
    echo "window_events: no raw 256 for the Tab key-down after the clicks" >&2
    fail=1
fi
grep -q '^event 16$' "$out" || { echo "window_events: no close request event" >&2; fail=1; }
grep -q '^end closed$' "$out" || { echo "window_events: the loop did not end on the close request" >&2; fail=1; }
[ $status -eq 0 ] || { echo "window_events: exit code $status" >&2; fail=1; }
[ $(grep -c '^event 513$' "$out") -eq 3 ] || { echo "window_events: expected three button-down messages" >&2; fail=1; }
if [ $fail -ne 0 ]; then
    cat "$out" >&2
    exit 1
fi
echo "window_events: all events as expected"
exit 0
