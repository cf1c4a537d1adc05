#!/bin/bash
# treadkeyctl.exe and treadkey-setup.exe of a windows preset build on the real kernel: prepares a Wine prefix
# here whose HID bus reads the hidraw nodes itself (no SDL, no udevd: the guest has neither), then has
# run-guest.sh run kernel_wine_tests with it in the test guest. The prefix lives only as long as this script.
#
#   wine-guest.sh KERNEL_WINE_TESTS TREADKEYCTL_EXE TREADKEY_SETUP_EXE WINDOW_READER_EXE SCRATCH_DIR
#
# Exits 77 (skipped) when one of the Windows programs has not been built.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly HERE
[ $# -eq 5 ] || {
    echo "usage: wine-guest.sh KERNEL_WINE_TESTS TREADKEYCTL_EXE TREADKEY_SETUP_EXE WINDOW_READER_EXE SCRATCH_DIR" >&2
    exit 2
}
# Absolute: Wine takes no other prefix, and the guest starts in a folder of its own.
TESTS=$(realpath -m "$1") PROGRAMS=("$(realpath -m "$2")" "$(realpath -m "$3")" "$(realpath -m "$4")")
SCRATCH=$(realpath -m "$5")
readonly TESTS PROGRAMS SCRATCH
for program in "${PROGRAMS[@]}"; do
    if [ ! -f "$program" ]; then
        echo "wine-guest: skipped: no $program; build it first: cmake --preset windows && cmake --build --preset windows"
        exit 77
    fi
done

mkdir -p "$SCRATCH"
export WINEPREFIX
WINEPREFIX=$(mktemp -d "$SCRATCH/wine-prefix-XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
export WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
readonly BUS_KEY='HKLM\System\CurrentControlSet\Services\winebus'
wine reg add "$BUS_KEY" /v "Enable SDL" /t REG_DWORD /d 0 /f >/dev/null
wine reg add "$BUS_KEY" /v DisableUdevd /t REG_DWORD /d 1 /f >/dev/null
wineserver -w # the registry is on disk once the server has gone

# Wine in the emulated guest is slow to start: more time than the other guest runs need. Without SMAP:
# QEMU's emulation faults Wine's return to user mode (an iretq from a user stack), which the kernel then
# takes for an oops.
TREADKEY_GUEST_TIMEOUT=${TREADKEY_GUEST_TIMEOUT:-660} TREADKEY_GUEST_CPU=${TREADKEY_GUEST_CPU:-max,-smap} \
    "$HERE/run-guest.sh" "/usr/bin/env WINEPREFIX=$WINEPREFIX WINEDEBUG=${TREADKEY_WINEDEBUG:--all} $TESTS ${PROGRAMS[*]}"
