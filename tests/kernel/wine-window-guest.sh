#!/bin/bash
# In the test guest, on a real pedal: treadkey-setup.exe under Wine on an X server of its own, clicked as a
# user clicks it (window_session.sh). Clicks the worked example's key once the window says it is connected,
# prints "clicked", waits for the file PRESSED (the caller presses the pedal, then makes it), and prints
# what the window then shows before closing it.
#
#   wine-window-guest.sh TREADKEY_SETUP_EXE WINDOW_READER_EXE PRESSED   (WINEPREFIX set)
set -euo pipefail
self=$(realpath "$0")
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$self")/../../scripts/with-xvfb.sh" "$self" "$@"
fi
program=$1 reader=$2 pressed=$3
wine_run=$(dirname "$self")/../../cmake/wine-run.sh
work=$(mktemp -d)
pid=""
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# shellcheck source=../app/window_session.sh
source "$(dirname "$self")/../app/window_session.sh"
window_wait_seconds=120 # Wine in an emulated guest starts slowly

# Wine's server kept running; wine-run.sh starts its services and desktop holding no stream of ours.
wineserver -p </dev/null >/dev/null 2>&1

"$wine_run" "$program" 2>"$work/stderr" &
pid=$!
await_window "$work/stderr"
read_window() { "$wine_run" "$reader" "$@"; }
for _ in $(seq 60); do
    [ "$(read_window text Label3)" = 'USB设备联接成功' ] && break
    sleep 1
done
echo "status: $(read_window text Label3)"

slot 3
toggle_ctrl
toggle_shift
key_a
sleep 5 # three frames, each a write through Wine's HID bus
echo "clicked"

for _ in $(seq 60); do
    [ -e "$pressed" ] && break
    sleep 0.5
done
sleep 3
echo "result lines:"
read_window lines
echo "slot and delay boxes:"
read_window text Combo1 Text_delay
xdotool key --window "$window" alt+F4
wait "$pid"
echo "stderr:"
cat "$work/stderr"
