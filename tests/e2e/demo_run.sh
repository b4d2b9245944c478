#!/bin/sh
# End-to-end run of the demo program, driven with xdotool and checked on
# screenshots and the window title. Natively it starts an Xvfb of its own;
# under Wine it uses the display and prefix of the wine session.
# Usage: demo_run.sh WORK_DIR native PROGRAM
#        demo_run.sh WORK_DIR wine PROGRAM WINE_STATE_DIR
# Screenshots stay in WORK_DIR as the run's artefacts.
set -u
work=$1
mode=$2
program=$3
for tool in Xvfb xdotool import compare; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "demo_run: $tool is not installed; test skipped" >&2
        exit 77
    fi
done
rm -rf "$work"
mkdir -p "$work"
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
fail() {
    echo "demo_run: $*" >&2
    exit 1
}

if [ "$mode" = wine ]; then
    state=$4
    [ -s "$state/display" ] || { echo "demo_run: no wine session; test skipped" >&2; exit 77; }
    DISPLAY=$(cat "$state/display")
    WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
    launch="wine"
else
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    i=0
    while [ ! -s "$work/displayfd" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$work/displayfd" ] || fail "Xvfb did not start"
    DISPLAY=":$(head -n1 "$work/displayfd")"
    launch=""
fi
export DISPLAY
unset WAYLAND_DISPLAY
export SDL_AUDIODRIVER=dummy

$launch "$program" >"$work/stdout.txt" 2>"$work/stderr.txt" &
program_pid=$!

# The title reads "fps: N - M" once the frame rate is known.
window=""
i=0
while [ -z "$window" ] && [ $i -lt 300 ]; do
    window=$(xdotool search --name '^fps: [0-9]+ - [0-9]+$' 2>/dev/null | head -n1)
    [ -z "$window" ] && sleep 0.1
    i=$((i + 1))
done
[ -n "$window" ] || fail "no window titled 'fps: N - M' appeared"
sleep 1
title=$(xdotool getwindowname "$window")
echo "$title" | grep -Eq '^fps: [0-9]+ - [0-9]+$' || fail "title '$title'"
echo "title: $title"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq 600 ] && [ "$HEIGHT" -eq 600 ] || fail "client area ${WIDTH}x${HEIGHT}, expected 600x600"
left=$X
top=$Y

# The render surface, 600 by 580, from a screenshot of the whole screen.
shot() {
    import -window root "$work/$1-screen.png" || fail "screenshot $1"
    convert "$work/$1-screen.png" -crop "600x580+$left+$top" +repage "$work/$1.png"
}
differs() {
    pixels=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1)
    echo "$1 vs $2: $pixels pixels differ"
    [ "${pixels%.*}" -gt "$3" ]
}
click() {
    xdotool mousemove $((left + $1)) $((top + 590)) click 1
    sleep 0.3
}

shot ground
shot ground-again
differs ground ground-again 0 && fail "the ground alone changes from frame to frame"

click 100          # Boom
shot boom
differs ground boom 500 || fail "Boom did not change the picture"
sleep 4            # the explosion has run its course; its scorch mark stays
shot scorch
differs ground scorch 200 || fail "no scorch mark stays after the explosion"

click 300          # Booo...m: continuous mode on
sleep 1
shot continuous-1
sleep 0.5
shot continuous-2
differs continuous-1 continuous-2 500 || fail "continuous mode shows no new explosions"
click 300          # and off again
sleep 4
click 500          # Delete all Particle
sleep 0.5
shot deleted
differs ground deleted 0 && fail "after Delete all Particle the picture is not the ground alone"

xdotool key Tab    # focus to "Boom"
sleep 0.2
xdotool key space
sleep 0.3
shot space
differs ground space 500 || fail "Tab then Space did not start an explosion"

xdotool windowfocus "$window" 2>/dev/null
xdotool key alt+F4
i=0
while kill -0 "$program_pid" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after the close request"
wait "$program_pid"
status=$?
program_pid=""
[ $status -eq 0 ] || fail "exit code $status"
echo "demo_run: passed"
