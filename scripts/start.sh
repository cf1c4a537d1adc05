#!/usr/bin/env bash
# Builds the window and treadkeyctl and starts the window. Arguments go to the program, e.g. --virtual-pedal.
set -euo pipefail
cd "$(dirname "$0")/.."

grep -v '^#' scripts/build-packages.txt | xargs bash scripts/ensure-packages.sh
# A preset of its own: the tests and benchmarks, and what they need, stay out of it. treadkeyctl comes along,
# in build/app/src/cli, for the README's command-line examples.
cmake --preset app >/dev/null
cmake --build --preset app --target treadkey-setup treadkeyctl -j "$(nproc)"
exec build/app/src/app/treadkey-setup "$@"
