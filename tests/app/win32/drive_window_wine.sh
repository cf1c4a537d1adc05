#!/usr/bin/env bash
# Drives treadkey-setup.exe under Wine on an X server (Xvfb) over the virtual pedal as a user would: mouse
# clicks and typing, the clear-all question answered both ways, Alt+F4. Judged by the virtual pedal's report
# log and, where the log cannot tell (captions, result lines), by what window_reader.exe reads from the
# window from a second process in the same prefix.
# usage: drive_window_wine.sh treadkey-setup.exe window_reader.exe treadkeyctl.exe   (WINEPREFIX set)
set -euo pipefail
program=$(realpath "$1")
reader=$(realpath "$2")
treadkeyctl=$(realpath "$3")
self=$(realpath "$0")
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$self")/../../../scripts/with-xvfb.sh" "$self" "$@"
fi
wine_run=$(dirname "$self")/../../../cmake/wine-run.sh

work=$(mktemp -d)
pid=""
trap 'kill "$pid" 2>/dev/null || true; "$wine_run" reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
# Paths outside the system's code page, as a user's folder may be: both programs must keep them whole.
log=$work/报告-é.log
touch "$log"

# shellcheck source=../window_session.sh
source "$(dirname "$self")/../window_session.sh"

start_window() {
    "$wine_run" "$program" --virtual-pedal --virtual-pedal-log "Z:$log" 2>>"$work/stderr" &
    pid=$!
    await_window "$work/stderr"
    sleep 2 # the first ticks connect the pedal
}
close_window() {
    xdotool key --window "$window" alt+F4
    wait "$pid" && status=0 || status=$?
    judge "Alt+F4 ends the program with status 0" 0 "$status"
}

read_window() { "$wine_run" "$reader" "$@"; }
last_line() { read_window lines | tail -n 1; }

start_window
judge "the client area is 1066 by 673 pixels" "1066 673" "$(read_window client)"
judge "it starts in Chinese, connected" "$(printf '%s\n' 'USB设备联接成功' '英文' '状态信息')" \
    "$(read_window text Label3 Command3 Label_Status)"

slot 3
toggle_ctrl
toggle_shift
key_a
expect_reports "worked example: slot 3, Ctrl + Shift + A" "${worked_example_reports[@]}"
judge "its result line" "写入键值:  < Ctrl + Shift + A > 到地址3" "$(last_line | sed 's/^\[[^]]*\]: //')"

toggle_ctrl
toggle_shift
slot 2
mouse_right
expect_reports "right mouse button on slot 2" "${right_button_on_slot_2_reports[@]}"

# An owner-drawn button's second click within the double-click time comes as a double click: still a click.
xdotool mousemove --window "$window" $(((120 + 120 + 975 / 2) / 15)) $(((2160 + 3240 + 495 / 2) / 15)) \
    click --repeat 2 --delay 80 1
sleep 0.3
key_a
expect_reports "Ctrl clicked twice quickly is off again: A alone on slot 2" \
    "00 AA 01 04 00 04 00 00 00" "00 AA 01 7C 79 01 00 00 00" "00 AA 01 78 79 01 00 00 00"

language
judge "the language switch: English captions" "$(printf '%s\n' 'Chinese' 'Status' 'Clear')" \
    "$(read_window text Command3 Label_Status Clear)"
slot 12
delay 300
check_once
key_f1
expect_reports "F1 on slot 12 with delay 300 and single output" "${f1_on_slot_12_with_delay_300_reports[@]}"
judge "its English result line" "Write Key Val:  < F1 > To Address:12" "$(last_line | sed 's/^\[[^]]*\]: //')"

# The clear-all button is never shown: clicked as the window's own button would report it.
read_window click Command1
answer_box 温馨提示 Escape
expect_reports "clear-all answered Cancel writes nothing"
read_window click Command1
answer_box 温馨提示 Return
"$wine_run" "$treadkeyctl" --virtual-pedal --virtual-pedal-log "Z:$work/清除-é.log" clear-all --yes >/dev/null
mapfile -t cleared <"$work/清除-é.log"
expect_reports "clear-all answered OK writes what treadkeyctl clear-all does" "${cleared[@]}"

close_window

# At 144 dpi the window is laid out anew at one and a half times its size, never stretched: the same places,
# scaled, take the same clicks. (The prefix was made without a display, so Wine's screen is 1024 by 768: every
# place clicked lies within it.)
"$wine_run" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
start_window
scale_percent=150
judge "at 144 dpi the client area is 1599 by 1010 pixels" "1599 1010" "$(read_window client)"
slot 3
toggle_ctrl
toggle_shift
key_a
expect_reports "at 144 dpi: slot 3, Ctrl + Shift + A" "${worked_example_reports[@]}"
close_window
judge "nothing on stderr" "" "$(cat "$work/stderr")"

echo "window under Wine: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
