#!/usr/bin/env bash
# Installs the desktop package with apt into a freshly bootstrapped Debian 12 root, as a new user would, and
# checks there that it brought a font that draws the window's Chinese captions and that both programs start
# (scripts/check-installed-package.sh). Builds the package from a build directory first (default build/default,
# as scripts/check-package.sh leaves it). Needs root; works inside a fresh root too, as CI runs the test
# command. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/default}
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch" >/dev/null
debs=("$scratch"/*.deb)
deb=${debs[0]}
echo "package: $(basename "$deb")"
scripts/in-fresh-debian.sh --put "$deb" scripts/check-installed-package.sh "/root/$(basename "$deb")"
