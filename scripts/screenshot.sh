#!/usr/bin/env bash
# Takes the pictures of the window in the README and docs/ on a virtual pedal, on a virtual X display:
# docs/screenshot.png in Chinese, as the window starts, and docs/screenshot-en.png in English, each with a few
# written keys and a mouse click in the result list.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default build/default; the window is built there if missing)
# QT_SCALE_FACTOR is passed on, so that QT_SCALE_FACTOR=1.5 shows the window as a scaled desktop draws it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh xvfb xdotool imagemagick fonts-wqy-microhei

build_dir=${1:-build/default}
program=$build_dir/src/app/treadkey-setup
if [ ! -x "$program" ]; then
    [ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build_dir" --target treadkey-setup -j "${JOBS:-$(nproc)}" >/dev/null
fi

mkdir -p docs
bash scripts/with-xvfb.sh -s "-screen 0 1920x1200x24" bash -s "$program" docs <<'SESSION'
set -euo pipefail
program=$1
output=$2
"$program" --virtual-pedal &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }

# Places in twips (15 to a logical pixel) as the window's design gives them; keys count from the keyboard
# frame at 120, 2160. The X server sees device pixels, so the scale factor is applied here.
scale=${QT_SCALE_FACTOR:-1}
click_at() { # left top width height
    local x y
    x=$(awk -v l="$1" -v w="$3" -v s="$scale" 'BEGIN { printf "%d", (l + w / 2) / 15 * s }')
    y=$(awk -v t="$2" -v h="$4" -v s="$scale" 'BEGIN { printf "%d", (t + h / 2) / 15 * s }')
    xdotool mousemove --window "$window" "$x" "$y" click 1
    sleep 0.2
}
in_frame() { click_at $((120 + $1)) $((2160 + $2)) "$3" "$4"; }
slot() {
    click_at 1560 960 600 330
    xdotool key --window "$window" ctrl+a BackSpace
    xdotool type --window "$window" --delay 20 "$1"
}
write_a_few() { # the log lines of three key assignments and a mouse click
    slot 3
    in_frame 120 3240 975 495   # Ctrl on
    in_frame 120 2640 1215 495  # shift on
    in_frame 1440 2040 495 495  # A
    in_frame 120 3240 975 495   # Ctrl off
    in_frame 120 2640 1215 495  # shift off
    slot 4
    in_frame 720 120 495 615    # F1
    in_frame 12720 240 615 615  # Num Lock
    click_at $((8640 + 2280)) $((840 + 240)) 855 615 # right mouse button
}

# The window looks for the pedal every 350 ms; after a second it shows the pedal connected.
sleep 1.2
write_a_few
sleep 0.5
import -window "$window" "$output/screenshot.png"
click_at 12240 960 1335 735 # Command3: to English
click_at 120 6720 1695 495  # Clear: the English lines alone
sleep 0.5                   # the status line follows at the next tick
write_a_few
sleep 0.5
import -window "$window" "$output/screenshot-en.png"
SESSION
echo "wrote docs/screenshot.png and docs/screenshot-en.png"
