#!/usr/bin/env bash
# Builds the desktop package from a build directory (default build/default; configured here, without tests
# and benchmarks, when it is not yet), unpacks it into a scratch root and checks that it holds both programs,
# the desktop entry, the icon, the AppStream metainfo, the udev rule, the man pages and the docs, that the control data
# names the libraries the programs run on and reloads udev, and that the packaged command line runs. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh dpkg-dev desktop-file-utils appstream

build_dir=${1:-build/default}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREADKEY_WERROR=ON \
        -DTREADKEY_BUILD_TESTS=OFF -DTREADKEY_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >/dev/null
debs=("$scratch"/out/*.deb)
deb=${debs[0]}
root=$scratch/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$scratch/control"
depends=$(dpkg-deb -f "$deb" Depends)
echo "package: $(basename "$deb")"
echo "Depends: $depends"

source scripts/package-checks.sh
depends_on() { tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$1"; }
worked_example() {
    [ "$("$root/usr/bin/treadkeyctl" --dry-run --virtual-pedal key 3 ctrl+shift+a)" = "$(printf '%s\n' \
        '00 AA 01 08 03 04 00 00 00' '00 AA 01 7C 79 01 00 00 00' '00 AA 01 78 79 01 00 00 00')" ]
}

check "the window: usr/bin/treadkey-setup" test -x "$root/usr/bin/treadkey-setup"
check "the command line: usr/bin/treadkeyctl" test -x "$root/usr/bin/treadkeyctl"
check "the desktop entry, valid" desktop-file-validate "$root/usr/share/applications/treadkey-setup.desktop"
check "the icon" test -s "$root/usr/share/icons/hicolor/scalable/apps/treadkey-setup.svg"
metainfo=$root/usr/share/metainfo/org.example.treadkey_setup.metainfo.xml
check "the AppStream metainfo, valid" appstreamcli validate --no-net "$metainfo"
check "the metainfo offers the program for the pedal" grep -qF "<modalias>usb:v2704p2018d*</modalias>" "$metainfo"
check "the metainfo launches the desktop entry" \
    grep -qF '<launchable type="desktop-id">treadkey-setup.desktop</launchable>' "$metainfo"
check "the metainfo's release is the package's version" \
    grep -qF "<release version=\"$(dpkg-deb -f "$deb" Version)\"" "$metainfo"
check "the udev rule" cmp "$root/usr/lib/udev/rules.d/70-treadkey.rules" packaging/70-treadkey.rules
check "the command line's man page" gzip -t "$root/usr/share/man/man1/treadkeyctl.1.gz"
check "the window's man page" gzip -t "$root/usr/share/man/man1/treadkey-setup.1.gz"
# Every installed path that 'treadkeyctl help' sends the reader to.
help_paths=$("$root/usr/bin/treadkeyctl" help list | grep -o '/usr/share/[^ ,)]*[A-Za-z]' || true)
all_installed() { [ -n "$1" ] && for path in $1; do [ -f "$root$path" ] || return 1; done; }
check "help points to installed paths: $help_paths" all_installed "$help_paths"
check "the docs the README links to" test -f "$root/usr/share/doc/treadkey-setup/docs/installing.md"
check "depends on Qt 6 widgets" depends_on libqt6widgets6
check "depends on hidapi over hidraw" depends_on libhidapi-hidraw0
check "depends on the C++ runtime" depends_on libstdc++6
check "depends on a font that draws Chinese" grep -qF \
    "fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei | fonts-arphic-uming" <<<"$depends"
check "recommends Qt's Wayland plugin" grep -qw qt6-wayland <<<"$(dpkg-deb -f "$deb" Recommends)"
check "the desktop entry names the program in Chinese" grep -q "^Name\[zh_CN\]=" \
    "$root/usr/share/applications/treadkey-setup.desktop"
check "the metainfo summarises in Chinese" grep -qF '<summary xml:lang="zh-CN">' "$metainfo"
check "postinst reloads the udev rules" grep -q "udevadm control --reload-rules" "$scratch/control/postinst"
check "postinst is executable" test -x "$scratch/control/postinst"
check "the packaged treadkeyctl writes the worked example" worked_example

echo "package check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
