#!/usr/bin/env bash
# Drives the real program over the virtual pedal as a user would: the session both windows share (mouse clicks
# and typing on an X server (Xvfb), the clear-all question answered both ways), then the pedal unplugged and
# replugged through its presence file; every report the pedal received is compared with the expected lines.
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
clicks=$work/clicks
present=$work/present
touch "$present" "$log" "$clicks"
export XDG_RUNTIME_DIR=$work/runtime
export XDG_STATE_HOME=$work/state # the records of its writes stay in the scratch folder
mkdir -m 700 "$XDG_RUNTIME_DIR"

# shellcheck source=window_session.sh
source "$(dirname "$self")/window_session.sh"
"$program" --virtual-pedal --virtual-pedal-log "$log" --virtual-pedal-present "$present" \
    --click-file "$clicks" 2>"$work/stderr" &
pid=$!
await_window "$work/stderr"

sleep 1.5 # the first ticks connect the pedal
shared_session

slot 12 # clear-all left the slot box at 0; the delay 65535 and single output stay
rm "$present"
sleep 1 # a few 350 ms ticks
key_a
mouse_right
expect_reports "unplugged: the keyboard is disabled and nothing is written"

touch "$present"
sleep 1
key_a
expect_reports "replugged: the next key arrives complete" "${a_on_slot_12_with_delay_65535_reports[@]}"

kill -TERM "$pid" # closes the window as its close button would
wait "$pid" && status=0 || status=$?
judge "the program exits with status 0" 0 "$status"
[ ! -s "$work/stderr" ] || { echo "stderr:"; sed 's/^/  /' "$work/stderr"; }

echo "window script: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
