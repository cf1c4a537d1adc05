#!/usr/bin/env bash
# The Linux window and the Windows window under Wine, taken through the same user actions (shared_session in
# window_session.sh) over the virtual pedal, one after the other on one X server: the reports the pedal
# received must be equal byte for byte, and the result lines equal once their time stamps are cut.
# usage: window_parity.sh treadkey-setup treadkey-setup.exe window_reader.exe
# Exits 77 (skipped) when the Windows programs have not been built.
set -euo pipefail
linux_program=$(realpath "$1")
windows_program=$(realpath -m "$2")
reader=$(realpath -m "$3")
self=$(realpath "$0")
for built in "$windows_program" "$reader"; do
    if [ ! -f "$built" ]; then
        echo "window_parity: skipped: no $built; build it first: cmake --preset windows && cmake --build --preset windows"
        exit 77
    fi
done
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$self")/../../scripts/with-xvfb.sh" "$self" "$@"
fi
wine_run=$(dirname "$self")/../../cmake/wine-run.sh
wine_prefix=$(dirname "$self")/../windows/wine-prefix.sh

work=$(mktemp -d)
pid=""
export WINEPREFIX=$work/wine-prefix
trap 'kill "$pid" 2>/dev/null || true; bash "$wine_prefix" remove "$WINEPREFIX"; rm -rf "$work"' EXIT
bash "$wine_prefix" make "$WINEPREFIX" >/dev/null
export XDG_RUNTIME_DIR=$work/runtime
export XDG_STATE_HOME=$work/state # the Linux window's records of its writes stay in the scratch folder
mkdir -m 700 "$XDG_RUNTIME_DIR"

# shellcheck source=window_session.sh
source "$(dirname "$self")/window_session.sh"

# Starts a window with the log and click file of its run (named by the first argument), then takes it
# through the session.
run_session() { # name program [argument]...
    log=$work/$1.reports clicks=$work/$1.clicks seen=0
    touch "$log" "$clicks"
    "${@:2}" 2>>"$work/stderr" &
    pid=$!
    await_window "$work/stderr"
    sleep 2 # the first ticks connect the pedal
    echo "-- $1"
    shared_session
}

run_session linux "$linux_program" --virtual-pedal --virtual-pedal-log "$work/linux.reports" \
    --click-file "$work/linux.clicks" --result-log "$work/linux.results"
cp "$work/linux.results" "$work/linux.lines" # before the lines that closing adds
kill -TERM "$pid"
wait "$pid" || true

run_session windows "$wine_run" "$windows_program" --virtual-pedal --virtual-pedal-log "Z:$work/windows.reports" \
    --click-file "Z:$work/windows.clicks"
"$wine_run" "$reader" lines >"$work/windows.lines"
xdotool key --window "$window" alt+F4
wait "$pid" || true

echo "-- the two windows"
if cmp -s "$work/linux.reports" "$work/windows.reports"; then
    judge "the pedal received the same reports from both" "" ""
else
    judge "the pedal received the same reports from both" "$(cat "$work/linux.reports")" \
        "$(cat "$work/windows.reports")"
fi
without_stamps() { sed 's/^\[[^]]*\]: //' "$1"; }
judge "the same result lines, time stamps cut" "$(without_stamps "$work/linux.lines")" \
    "$(without_stamps "$work/windows.lines")"
judge "nothing on stderr" "" "$(cat "$work/stderr")"

echo "window parity: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
