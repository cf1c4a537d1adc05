#!/usr/bin/env bash
# Starts the real program as a native Wayland client under a headless compositor (weston, pixman renderer)
# with the virtual pedal, waits until its window is up and drawn, takes a screenshot through the compositor
# and closes the window as the desktop does, expecting exit code 0.
# usage: wayland_window.sh PATH/TO/treadkey-setup
set -uo pipefail
program=$(realpath "$1")
skip=77
command -v weston >/dev/null && command -v weston-screenshooter >/dev/null || {
    echo "SKIP: no Wayland compositor here (weston and weston-screenshooter are not installed)"
    exit $skip
}

work=$(mktemp -d)
compositor=""
window=""
trap 'kill $window $compositor 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
export XDG_STATE_HOME=$work/state # the records of its writes stay in the scratch folder
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=treadkey-test
fail() {
    echo "FAIL: $1"
    for file in "$work"/*.log; do
        echo "--- $(basename "$file")"
        grep -v '^\[[0-9.]*\] *[-<]' "$file" | tail -n 20
    done
    exit 1
}

# --debug lets the screenshooter client take the output.
weston --backend=headless-backend.so --use-pixman --width=1280 --height=800 --socket="$WAYLAND_DISPLAY" \
    --idle-time=0 --no-config --debug >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston did not start"

# The client's side of the protocol tells when the window has its title and a drawn buffer. Under the
# sanitizer preset the leak check is off for this run alone: libwayland-client and Qt's Wayland plugin, unloaded
# by then, leave buffers that name no caller of ours (our own leaks are the soak's and the unit tests' to find).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$program" --virtual-pedal >"$work/window.log" 2>&1 &
window=$!
drawn() {
    grep -q 'xdg_toplevel@[0-9]*\.set_title("USB Treadkey KeyMouse Setup V2.4")' "$work/window.log" &&
        [ "$(grep -c 'wl_surface@[0-9]*\.attach(wl_buffer@' "$work/window.log")" -ge 1 ]
}
for _ in $(seq 150); do
    drawn && break
    kill -0 $window 2>/dev/null || fail "the window ended before it was drawn"
    sleep 0.1
done
drawn || fail "the window did not appear on $WAYLAND_DISPLAY"
sleep 1 # the compositor shows the window's next frame

(cd "$work" && weston-screenshooter) >"$work/screenshooter.log" 2>&1 || fail "weston-screenshooter failed"
screenshot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -n 1)
[ -n "$screenshot" ] || fail "no screenshot was written"
file "$screenshot" | grep -q 'PNG image data, 1280 x 800' || fail "the screenshot is not the output: $(file "$screenshot")"

kill -TERM $window
wait $window
status=$?
window=""
[ $status -eq 0 ] || fail "the window closed with exit code $status"
echo "ok: the window ran on Wayland, was drawn, shot and closed with exit code 0"
