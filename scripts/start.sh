#!/usr/bin/env bash
# Builds the program and starts it. Arguments go to the program, e.g. --virtual-pedal.
set -euo pipefail
cd "$(dirname "$0")/.."

grep -v '^#' scripts/build-packages.txt | xargs bash scripts/ensure-packages.sh
# A preset of its own: the tests and benchmarks, and what they need, stay out of it.
cmake --preset app >/dev/null
cmake --build --preset app --target treadkey-setup -j "$(nproc)"
exec build/app/src/app/treadkey-setup "$@"
