#!/usr/bin/env bash
# The window on Windows under Wine: start-up to the first paint against a bare Win32 window with the same
# controls (win32_startup_probe, each started RUNS times in turn), and the CPU of treadkey-setup.exe idle over
# 30 s, its own process and Wine's server, from 3 s after its start. In a prefix of its own, made on the
# virtual display, with Wine's server and the prefix's desktop kept running as the tests keep them.
# usage: bench/win32/startup.sh [BUILD_DIR] [RUNS]   (default build/windows, 15)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/windows}
runs=${2:-15}
probe=$build/bench/win32/win32_startup_probe.exe
program=$build/src/app/win32/treadkey-setup.exe
[ -f "$probe" ] && [ -f "$program" ] ||
    { echo "build both first (cmake --build --preset windows --target win32_startup_probe treadkey-setup)"; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
    exec bash scripts/with-xvfb.sh "$0" "$build" "$runs"
fi
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all
trap 'bash tests/windows/wine-prefix.sh remove "$WINEPREFIX"; rm -rf "$scratch"' EXIT
bash tests/windows/wine-prefix.sh make "$WINEPREFIX" >/dev/null

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
for _ in $(seq "$runs"); do
    for kind in window bare; do
        line=$(wine "$probe" "$kind" 2>/dev/null | tr -d '\r')
        ms=${line#first_paint_ms=}
        echo "$kind ${ms%% *} ${line##*peak_working_set_kb=}"
    done
done >"$scratch/runs"
wt=$(awk '$1 == "window" { print $2 }' "$scratch/runs" | median)
bt=$(awk '$1 == "bare" { print $2 }' "$scratch/runs" | median)
wm=$(awk '$1 == "window" { print $3 }' "$scratch/runs" | median)
bm=$(awk '$1 == "bare" { print $3 }' "$scratch/runs" | median)
echo "start-up to first paint (median of $runs): window $wt ms, bare Win32 window $bt ms, ratio $(ratio "$wt" "$bt")"
echo "peak working set (median of $runs): window $wm kB, bare Win32 window $bm kB, ratio $(ratio "$wm" "$bm")"

# Idle: the program's Linux process and Wine's server, their CPU time from /proc over 30 s.
cpu_ns() { awk '{ s += $1 } END { printf "%.0f", s }' /proc/"$1"/task/*/schedstat; }
wine "$program" --virtual-pedal 2>/dev/null &
sleep 3
pid=$(pgrep -n -f 'treadkey-setup\.exe')
server=$(pgrep -n -f 'wineserver')
p0=$(cpu_ns "$pid") s0=$(cpu_ns "$server")
sleep 30
p1=$(cpu_ns "$pid") s1=$(cpu_ns "$server")
echo "idle CPU over 30 s: the program $(awk -v d=$((p1 - p0)) 'BEGIN { printf "%.2f", d / 30e6 }') ms a second, Wine's server $(awk -v d=$((s1 - s0)) 'BEGIN { printf "%.2f", d / 30e6 }') ms a second"
kill "$pid"
