#!/usr/bin/env bash
# Drives the real program over the virtual pedal as a user would: mouse clicks and typing on an X server
# (Xvfb), the pedal unplugged and replugged through its presence file, and compares every report the pedal
# received with the expected lines.
# usage: drive_window.sh PATH/TO/treadkey-setup
set -euo pipefail
program=$(realpath "$1")
self=$(realpath "$0")
if [ -z "${DISPLAY:-}" ]; then
    # The X server's own messages, so that a server that failed to start says why.
    TREADKEY_XVFB_ERRORS=$(mktemp)
    export TREADKEY_XVFB_ERRORS
    exec xvfb-run -a -e "$TREADKEY_XVFB_ERRORS" -s "-screen 0 1280x800x24" "$self" "$program"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work" ${TREADKEY_XVFB_ERRORS:+"$TREADKEY_XVFB_ERRORS"}' EXIT
log=$work/reports.log
present=$work/present
touch "$present" "$log"
export XDG_RUNTIME_DIR=$work/runtime
export XDG_STATE_HOME=$work/state # the records of its writes stay in the scratch folder
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$program" --virtual-pedal --virtual-pedal-log "$log" --virtual-pedal-present "$present" 2>"$work/stderr" &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name 'USB Treadkey KeyMouse Setup' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || {
    echo "FAIL: the window did not appear on $DISPLAY"
    cat "$work/stderr" "${TREADKEY_XVFB_ERRORS:-/dev/null}"
    exit 1
}

# Places in twips, as the window's design gives them; 15 twips to a pixel; keys count from the keyboard frame.
frame_left=120
frame_top=2160
click_at() { # left top width height [frame]
    local x=$(($1 + $3 / 2)) y=$(($2 + $4 / 2))
    if [ "${5:-}" = frame ]; then x=$((x + frame_left)) y=$((y + frame_top)); fi
    xdotool mousemove --window "$window" $((x / 15)) $((y / 15)) click 1
    sleep 0.15
}
key_a() { click_at 1440 2040 495 495 frame; }
key_f1() { click_at 720 120 495 615 frame; }
toggle_ctrl() { click_at 120 3240 975 495 frame; }
toggle_shift() { click_at 120 2640 1215 495 frame; }
mouse_right() { click_at $((8640 + 2280)) $((840 + 240)) 855 615; }
check_once() { click_at 6000 960 300 375; }
type_into() { # left top width height text
    click_at "$1" "$2" "$3" "$4"
    xdotool key --window "$window" ctrl+a BackSpace
    xdotool type --window "$window" --delay 20 "$5"
    sleep 0.2
}
slot() { type_into 1560 960 600 330 "$1"; }
delay() { type_into 4560 960 855 375 "$1"; }

failures=0
expect_reports() { # name, then the expected lines since the last check
    local name=$1
    shift
    local got expected
    # A loaded machine may run the click's handler late: wait (up to 10 s) for the expected number of
    # reports, then a little longer, so that an extra report would still show.
    for _ in $(seq 100); do
        [ "$(wc -l <"$log")" -ge $((seen + $#)) ] && break
        sleep 0.1
    done
    sleep 0.3
    got=$(tail -n +$((seen + 1)) "$log")
    expected=$(printf '%s\n' "$@")
    [ $# -eq 0 ] && expected=""
    if [ "$got" = "$expected" ]; then
        echo "ok: $name"
    else
        echo "FAIL: $name"
        echo "  expected:"; printf '    %s\n' "$@"
        echo "  got:"; sed 's/^/    /' <<<"$got"
        failures=$((failures + 1))
    fi
    seen=$(wc -l <"$log")
}
seen=0

sleep 1.5 # the first ticks connect the pedal
slot 3
toggle_ctrl
toggle_shift
key_a
expect_reports "worked example: slot 3, Ctrl + Shift + A" \
    "00 AA 01 08 03 04 00 00 00" "00 AA 01 7C 79 01 00 00 00" "00 AA 01 78 79 01 00 00 00"

toggle_ctrl
toggle_shift
slot 2
mouse_right
expect_reports "right mouse button on slot 2" "00 AA 02 04 FE 02 00 00 00"

slot 12
delay 300
check_once
key_f1
expect_reports "F1 on slot 12 with delay 300 and single output" \
    "00 AA 01 2C 00 3A 00 00 00" "00 AA 01 7C 79 01 01 2C 00" "00 AA 01 78 79 01 01 00 00"

delay 70000
key_a
expect_reports "a delay of 70000 is clamped to 65535" \
    "00 AA 01 2C 00 04 00 00 00" "00 AA 01 7C 79 01 FF FF 00" "00 AA 01 78 79 01 01 00 00"

rm "$present"
sleep 1 # a few 350 ms ticks
key_a
mouse_right
expect_reports "unplugged: the keyboard is disabled and nothing is written"

touch "$present"
sleep 1
key_a
expect_reports "replugged: the next key arrives complete" \
    "00 AA 01 2C 00 04 00 00 00" "00 AA 01 7C 79 01 FF FF 00" "00 AA 01 78 79 01 01 00 00"

kill -TERM "$pid" # closes the window as its close button would
wait "$pid" && status=0 || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: the program exited with status $status"; failures=$((failures + 1)); }
[ ! -s "$work/stderr" ] || { echo "stderr:"; sed 's/^/  /' "$work/stderr"; }

echo "window script: $((7 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
