#!/usr/bin/env bash
# Drives the real program over the virtual pedal as a user would: mouse clicks and typing on an X server
# (Xvfb), the pedal unplugged and replugged through its presence file, and compares every report the pedal
# received with the expected lines.
# usage: drive_window.sh PATH/TO/treadkey-setup
set -euo pipefail
program=$(realpath "$1")
self=$(realpath "$0")
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$self")/../../scripts/with-xvfb.sh" "$self" "$program"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
log=$work/reports.log
present=$work/present
touch "$present" "$log"
export XDG_RUNTIME_DIR=$work/runtime
export XDG_STATE_HOME=$work/state # the records of its writes stay in the scratch folder
mkdir -m 700 "$XDG_RUNTIME_DIR"

# shellcheck source=window_session.sh
source "$(dirname "$self")/window_session.sh"
"$program" --virtual-pedal --virtual-pedal-log "$log" --virtual-pedal-present "$present" 2>"$work/stderr" &
pid=$!
await_window "$work/stderr"

sleep 1.5 # the first ticks connect the pedal
slot 3
toggle_ctrl
toggle_shift
key_a
expect_reports "worked example: slot 3, Ctrl + Shift + A" "${worked_example_reports[@]}"

toggle_ctrl
toggle_shift
slot 2
mouse_right
expect_reports "right mouse button on slot 2" "${right_button_on_slot_2_reports[@]}"

slot 12
delay 300
check_once
key_f1
expect_reports "F1 on slot 12 with delay 300 and single output" "${f1_on_slot_12_with_delay_300_reports[@]}"

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
judge "the program exits with status 0" 0 "$status"
[ ! -s "$work/stderr" ] || { echo "stderr:"; sed 's/^/  /' "$work/stderr"; }

echo "window script: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
