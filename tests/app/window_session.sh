# shellcheck shell=bash
# What the scripts that drive the window share, whichever view draws it: where its controls are, how a user
# clicks and types at them, and the reports the virtual pedal must receive. The functions read $window (the X
# window of the client area, found by await_window) and $log (the virtual pedal's report log).

# Without xdotool's complaint at every key sent to a window of an X server without a window manager. Its
# status is xdotool's (the scripts set pipefail); no process substitution, which needs /dev/fd.
xdotool() {
    { command xdotool "$@" 2>&1 >&3 3>&- | { grep -v '^XGetInputFocus returned' >&2 || true; } 3>&-; } 3>&1
}

# Sets $window once the program's window is there, waiting up to $window_wait_seconds (a first start under Wine
# takes a few); without it, fails the script, showing the files given.
window_wait_seconds=30
await_window() { # [file to show]...
    window=""
    for _ in $(seq $((window_wait_seconds * 10))); do
        window=$(xdotool search --name 'USB Treadkey KeyMouse Setup' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || {
        echo "FAIL: the window did not appear on $DISPLAY"
        cat "$@"
        exit 1
    }
}

# Places in twips, as the window's design gives them; 15 twips to a pixel at 96 dpi, scale_percent of that on
# a display scaled otherwise; keys count from the keyboard frame.
frame_left=120
frame_top=2160
scale_percent=100
click_at() { # left top width height [frame]
    local x=$(($1 + $3 / 2)) y=$(($2 + $4 / 2))
    if [ "${5:-}" = frame ]; then x=$((x + frame_left)) y=$((y + frame_top)); fi
    xdotool mousemove --window "$window" $((x * scale_percent / 1500)) $((y * scale_percent / 1500)) click 1
    sleep 0.15
}
key_a() { click_at 1440 2040 495 495 frame; }
key_f1() { click_at 720 120 495 615 frame; }
toggle_ctrl() { click_at 120 3240 975 495 frame; }
toggle_shift() { click_at 120 2640 1215 495 frame; }
mouse_right() { click_at $((8640 + 2280)) $((840 + 240)) 855 615; }
check_once() { click_at 6000 960 300 375; }
language() { click_at 12240 960 1335 735; }
type_into() { # left top width height text
    click_at "$1" "$2" "$3" "$4"
    xdotool key --window "$window" ctrl+a BackSpace
    xdotool type --window "$window" --delay 20 "$5"
    sleep 0.2
}
slot() { type_into 1560 960 600 330 "$1"; }
delay() { type_into 4560 960 855 375 "$1"; }
# A button no user can reach (hidden), clicked through the window's click file ($clicks) at its next tick.
click_hidden() { echo "$1" >>"$clicks"; }
# A message box is a top-level window of its own: answered with its default button (OK) or Escape (Cancel),
# the key pressed again while the box is still there (a toolkit may replace the window it first showed).
answer_box() { # title key
    local box answered=no
    for _ in $(seq 100); do
        box=$(xdotool search --name "$1" 2>/dev/null | tail -n 1) || true
        if [ -z "$box" ]; then
            [ "$answered" = yes ] && return
            sleep 0.1
            continue
        fi
        # Focused, so that the key comes as typed: a toolkit may ignore a key sent to a window.
        xdotool windowfocus "$box" 2>/dev/null && sleep 0.1 && xdotool key "$2" && answered=yes
        sleep 0.3
    done
    echo "FAIL: no box titled $1 was answered"
    failures=$((failures + 1))
}
# The reports of the worked example (slot 3, Ctrl + Shift + A): the key frame, then the key-delay and
# single-output settings words, each behind report id 0.
worked_example_reports=("00 AA 01 08 03 04 00 00 00" "00 AA 01 7C 79 01 00 00 00" "00 AA 01 78 79 01 00 00 00")
right_button_on_slot_2_reports=("00 AA 02 04 FE 02 00 00 00")
f1_on_slot_12_with_delay_300_reports=("00 AA 01 2C 00 3A 00 00 00" "00 AA 01 7C 79 01 01 2C 00"
    "00 AA 01 78 79 01 01 00 00")
a_on_slot_12_with_delay_65535_reports=("00 AA 01 2C 00 04 00 00 00" "00 AA 01 7C 79 01 FF FF 00"
    "00 AA 01 78 79 01 01 00 00")

# What a user does in both windows alike, each step judged by the reports it must send: drive_window.sh takes
# the Linux window through it, and the parity test both windows, comparing what each left behind. Clear-all is
# clicked through the window's click file ($clicks).
shared_session() {
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
    language
    slot 12
    delay 300
    check_once
    key_f1
    expect_reports "in English, F1 on slot 12 with delay 300 and single output" \
        "${f1_on_slot_12_with_delay_300_reports[@]}"
    delay 70000
    key_a
    expect_reports "a delay of 70000 is clamped to 65535" "${a_on_slot_12_with_delay_65535_reports[@]}"
    click_hidden Command1
    answer_box 温馨提示 Escape
    expect_reports "clear-all answered Cancel writes nothing"
    local before=$seen
    click_hidden Command1
    answer_box 温馨提示 Return
    await_quiet_log
    judge "clear-all answered OK writes" yes "$([ "$seen" -gt "$before" ] && echo yes || echo no)"
}
# Waits (up to 20 s) until the report log has not grown for a second: a long write has ended.
await_quiet_log() {
    local size=-1
    for _ in $(seq 20); do
        [ "$(wc -c <"$log")" -eq "$size" ] && break
        size=$(wc -c <"$log")
        sleep 1
    done
    seen=$(wc -l <"$log")
}

failures=0
passed=0
seen=0
# A loaded machine may run the click's handler late: wait (up to 10 s) for the expected number of reports,
# then a little longer, so that an extra report would still show.
expect_reports() { # name, then the expected lines since the last check
    local name=$1
    shift
    local got expected
    for _ in $(seq 100); do
        [ "$(wc -l <"$log")" -ge $((seen + $#)) ] && break
        sleep 0.1
    done
    sleep 0.3
    got=$(tail -n +$((seen + 1)) "$log")
    expected=$(printf '%s\n' "$@")
    [ $# -eq 0 ] && expected=""
    judge "$name" "$expected" "$got"
    seen=$(wc -l <"$log")
}
judge() { # name expected got
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
        passed=$((passed + 1))
    else
        echo "FAIL: $1"
        echo "  expected:"; sed 's/^/    /' <<<"$2"
        echo "  got:"; sed 's/^/    /' <<<"$3"
        failures=$((failures + 1))
    fi
}
