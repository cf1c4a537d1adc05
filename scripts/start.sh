#!/usr/bin/env bash
# Builds the program and starts it. Arguments go to the program, e.g. --virtual-pedal.
set -euo pipefail
cd "$(dirname "$0")/.."

grep -v '^#' scripts/build-packages.txt | xargs bash scripts/ensure-packages.sh
cmake --preset default >/dev/null
cmake --build --preset default --target treadkey-setup -j "$(nproc)"
exec build/default/src/app/treadkey-setup "$@"
