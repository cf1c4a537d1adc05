#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of each fuzz target, and the desktop package check.
set -euo pipefail
cd "$(dirname "$0")/.."

cat scripts/build-packages.txt scripts/test-packages.txt | grep -v '^#' | xargs bash scripts/ensure-packages.sh
jobs=$(nproc)

stage() { printf '\n==== %s ====\n' "$*"; }

stage "build and test"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

stage "sanitizers: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

stage "fuzz: 30 seconds a target"
tests/fuzz/run.sh short

stage "desktop metadata: the AppStream entry, as software centres read it"
appstreamcli validate --no-net packaging/org.example.treadkey_setup.metainfo.xml

stage "desktop package: build the .deb, unpack it into a scratch root, check what it holds"
bash scripts/check-package.sh build/default
