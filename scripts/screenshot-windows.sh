#!/usr/bin/env bash
# Takes the pictures of the window on Windows in docs/: treadkey-setup.exe under Wine on a virtual X display,
# over the virtual pedal. docs/screenshot-windows.png in Chinese, as it starts, and docs/screenshot-windows-en.png
# in English, each with a few written keys and a mouse click in the result list.
# Usage: scripts/screenshot-windows.sh [BUILD_DIR]   (default build/windows; the window is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh xvfb xdotool imagemagick wine wine64

build_dir=${1:-build/windows}
program=$build_dir/src/app/win32/treadkey-setup.exe
if [ ! -f "$program" ]; then
    [ -f "$build_dir/CMakeCache.txt" ] || cmake --preset windows >/dev/null
    cmake --build "$build_dir" --target treadkey-setup -j "${JOBS:-$(nproc)}" >/dev/null
fi

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine-prefix WINEDEBUG=-all
trap 'bash tests/windows/wine-prefix.sh remove "$WINEPREFIX"; rm -rf "$scratch"' EXIT
mkdir -p docs
bash scripts/with-xvfb.sh -s "-screen 0 1920x1200x24" bash -s "$program" docs <<'SESSION'
set -euo pipefail
program=$1
output=$2
# Made on this display: without one, Wine takes its screen for 1024 by 768 and cuts the window there.
bash tests/windows/wine-prefix.sh make "$WINEPREFIX" >/dev/null
wine "$program" --virtual-pedal 2>/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 300); do
    window=$(xdotool search --name 'USB Treadkey KeyMouse Setup' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
log=/dev/null
source tests/app/window_session.sh
xdotool() { command xdotool "$@" 2>/dev/null; } # its complaint at each key sent without a window manager

write_a_few() { # the log lines of three key assignments and a mouse click
    slot 3
    toggle_ctrl
    toggle_shift
    key_a
    toggle_ctrl
    toggle_shift
    slot 4
    key_f1
    click_at 12720 240 615 615 frame # Num Lock
    mouse_right
}

# The window looks for the pedal every 350 ms; after a second it shows the pedal connected.
sleep 2
write_a_few
sleep 0.5
import -window "$window" "$output/screenshot-windows.png"
language
click_at 120 6720 1695 495 # Clear: the English lines alone
sleep 0.5                  # the status line follows at the next tick
write_a_few
sleep 0.5
import -window "$window" "$output/screenshot-windows-en.png"
xdotool key --window "$window" alt+F4
wait "$pid"
SESSION
echo "wrote docs/screenshot-windows.png and docs/screenshot-windows-en.png"
