#!/usr/bin/env bash
# Takes docs/screenshot.png: the window on a virtual pedal, once it has connected, on a virtual X display.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default build/default; the window is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh xvfb xauth xdotool imagemagick fonts-wqy-microhei

build_dir=${1:-build/default}
program=$build_dir/src/app/treadkey-setup
if [ ! -x "$program" ]; then
    [ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build_dir" --target treadkey-setup -j "${JOBS:-$(nproc)}" >/dev/null
fi

mkdir -p docs
xvfb-run --auto-servernum --server-args="-screen 0 1280x900x24" bash -s "$program" docs/screenshot.png <<'SESSION'
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
# The window looks for the pedal every 350 ms; after a second it shows the pedal connected.
sleep 1.2
import -window "$window" "$output"
SESSION
echo "wrote docs/screenshot.png"
