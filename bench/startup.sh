#!/usr/bin/env bash
# Start-up to the first shown window and peak memory: the program's window against a bare Qt window of the same
# size showing one line of Chinese text, both from startup_probe, each started RUNS times on one X server (Xvfb when there is no display).
# Prints medians and ratios.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build/default}
runs=${2:-15}
probe=$build/bench/startup_probe
[ -x "$probe" ] || { echo "build $probe first (cmake --build --preset default --target startup_probe)"; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$0")/../scripts/with-xvfb.sh" "$0" "$build" "$runs"
fi

measure() { # $1 = window|bare; prints "milliseconds peak_kb" per run
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        line=$("$probe" "$1" 2>/dev/null)
        shown=${line#shown_ns=}
        shown=${shown%% *}
        echo "$(((shown - start) / 1000000)) ${line##*peak_rss_kb=}"
    done
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

window=$(measure window)
bare=$(measure bare)
wt=$(cut -d' ' -f1 <<<"$window" | median)
bt=$(cut -d' ' -f1 <<<"$bare" | median)
wm=$(cut -d' ' -f2 <<<"$window" | median)
bm=$(cut -d' ' -f2 <<<"$bare" | median)
echo "start-up to shown (median of $runs): window $wt ms, bare Qt window $bt ms, ratio $(ratio "$wt" "$bt")"
echo "peak memory (median of $runs): window $wm kB, bare Qt window $bm kB, ratio $(ratio "$wm" "$bm")"
