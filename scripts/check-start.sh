#!/usr/bin/env bash
# Proves that the README's start command builds the program and starts it: runs scripts/start.sh with the
# virtual pedal on Qt's offscreen platform, waits until the program itself runs (start.sh replaces itself with
# it once the build is done), gives the window time to come up, closes it with SIGTERM as a desktop session
# would, and expects exit code 0; then asks the built window and treadkeyctl for their versions. The window
# counts as up when the program has a font file mapped: Qt maps one only once it lays out the window's text.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly BUILD_LIMIT=1800 # seconds for installing the packages and building
readonly UP_SECONDS=5     # the window must still be running this long after the program started

fail() {
    echo "start check: FAIL: $*" >&2
    exit 1
}

log=$(mktemp)
trap 'kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT

./scripts/start.sh -platform offscreen --virtual-pedal >"$log" 2>&1 &
pid=$!

waited=0
until [ "$(basename "$(readlink "/proc/$pid/exe" 2>/dev/null)")" = treadkey-setup ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        tail -n 30 "$log" >&2
        fail "the start command ended (exit code $status) before the program ran"
    fi
    [ "$waited" -lt $((BUILD_LIMIT * 2)) ] || fail "no program after $BUILD_LIMIT s"
    sleep 0.5
    waited=$((waited + 1))
done
echo "start check: the program runs after $((waited / 2)) s of installing and building"

sleep "$UP_SECONDS"
kill -0 "$pid" 2>/dev/null || {
    tail -n 30 "$log" >&2
    fail "the program ended by itself within $UP_SECONDS s"
}
grep -qE '\.(ttf|ttc|otf)$' "/proc/$pid/maps" || fail "no font loaded after $UP_SECONDS s: the window never laid out"
kill -TERM "$pid"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not close within 10 s of SIGTERM"
wait "$pid" && status=0 || status=$?
[ "$status" -eq 0 ] || {
    tail -n 30 "$log" >&2
    fail "the program closed with exit code $status on SIGTERM"
}
echo "start check: the window came up, ran $UP_SECONDS s and closed with exit code 0 on SIGTERM"

version=$(./scripts/start.sh --version | tail -n 1)
[[ $version =~ ^treadkey-setup\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "unexpected --version output: $version"
echo "start check: $version"
# The README sends command-line users to the treadkeyctl that start.sh leaves behind.
command_line=$(build/app/src/cli/treadkeyctl --version) || fail "start.sh left no build/app/src/cli/treadkeyctl"
[ "$command_line" = "treadkeyctl ${version#treadkey-setup }" ] || fail "unexpected treadkeyctl --version: $command_line"
echo "start check: $command_line"
