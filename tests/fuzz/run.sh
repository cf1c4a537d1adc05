#!/usr/bin/env bash
# Builds the fuzz targets with the fuzz preset and runs each from its committed seeds:
#   tests/fuzz/run.sh short   30 seconds a target (a stage of scripts/test.sh)
#   tests/fuzz/run.sh long    2,000,000 executions a target
# A crash, a leak, a sanitizer report, a hang or a violated property fails the run; libFuzzer keeps the input
# that did it under build/fuzz/artifacts/<target>/, and the target's log is build/fuzz/<target>.<mode>.log.
set -euo pipefail
cd "$(dirname "$0")/../.."

mode=${1:-short}
case "$mode" in
short) budget=(-max_total_time=30) ;;
long) budget=(-runs=2000000) ;;
*)
    echo "usage: $0 [short|long]" >&2
    exit 2
    ;;
esac

targets=(output_report hex_filter number_text report_descriptor pedal_memory json input_report pedal_record)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
    # The working corpus grows in the build tree; the committed seeds stay a small, reviewed handful.
    work=build/fuzz/corpus/$target
    artifacts=build/fuzz/artifacts/$target/
    log=build/fuzz/$target.$mode.log
    mkdir -p "$work" "$artifacts"
    started=$SECONDS
    if ! "build/fuzz/tests/fuzz/fuzz_$target" "${budget[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts" "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target failed: see $log and $artifacts" >&2
        exit 1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf 'fuzz_%-18s %10s executions in %4d s, no crash\n' "$target" "$executions" $((SECONDS - started))
done
