#!/usr/bin/env bash
# Builds the Windows zip from a windows preset build (default build/windows), unpacks it into a scratch
# folder and checks that it holds treadkey-setup.exe, treadkeyctl.exe, the latter's manual as text and a
# README, that the programs need no DLL beyond the system's own, that the window stays small, and that the
# packed programs run under Wine against the virtual pedal. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/windows}
[ -f "$build_dir/CMakeCache.txt" ] || cmake --preset windows >/dev/null
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" >/dev/null

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine-prefix
trap 'bash tests/windows/wine-prefix.sh remove "$WINEPREFIX"; rm -rf "$scratch"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >/dev/null
zips=("$scratch"/out/*.zip)
zip=${zips[0]}
(cd "$scratch" && cmake -E tar xf "$zip")
root=$scratch/$(basename "$zip" .zip)
echo "package: $(basename "$zip")"
bash tests/windows/wine-prefix.sh make "$WINEPREFIX" >/dev/null

source scripts/package-checks.sh
# The DLLs a program imports, from its import table.
imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { print tolower($3) }' | sort -u; }
only_system_dlls() {
    local dll
    for dll in $(imports "$1"); do
        case $dll in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | uxtheme.dll | shell32.dll | advapi32.dll | msvcrt.dll | setupapi.dll | \
            hid.dll | ntdll.dll) ;;
        api-ms-win-*) ;;
        *) return 1 ;;
        esac
    done
}
run() { cmake/wine-run.sh "$root/treadkeyctl.exe" "$@"; }

check "treadkeyctl.exe is a 64-bit Windows program" bash -c "file '$root/treadkeyctl.exe' | grep -q 'PE32+ executable (console) x86-64'"
check "it imports system DLLs only: $(imports "$root/treadkeyctl.exe" | tr '\n' ' ')" only_system_dlls "$root/treadkeyctl.exe"
window=$root/treadkey-setup.exe
check "treadkey-setup.exe is a 64-bit Windows window program" bash -c "file '$window' | grep -q 'PE32+ executable (GUI) x86-64'"
check "it imports system DLLs only: $(imports "$window" | tr '\n' ' ')" only_system_dlls "$window"
check "it is at most 3 MB: $(stat -c %s "$window") bytes" bash -c "[ \$(stat -c %s '$window') -le 3145728 ]"
check "it says its version" bash -c "cmake/wine-run.sh '$window' --version | grep -q '^treadkey-setup 2\.4\.0$'"
check "the README says: unzip, plug in, run; no driver, installer or administrator" \
    bash -c "tr -d '\r' <'$root/README.txt' | tr '\n' ' ' | grep -q 'Unzip.*Plug the pedal in.*Run treadkey-setup.exe.*No driver, no installer and no administrator'"
check "the manual is plain text" bash -c "grep -q '^NAME' '$root/treadkeyctl.txt' && ! grep -qP '[\x08\x1b]' '$root/treadkeyctl.txt'"
check "nothing else is packed" bash -c "[ \$(ls '$root' | wc -l) -eq 4 ]"
check "--version names the version" bash -c "$(declare -f run); root='$root'; run --version | grep -q '^treadkeyctl 2\.4\.0$'"
log=$scratch/reports.log
check "a key reaches the virtual pedal" run --virtual-pedal --virtual-pedal-log "Z:$log" key 3 ctrl+shift+a
# The key frame, then the key-delay and single-output settings words, each behind report id 0.
check "as the key, delay and single-output frames" diff "$log" - <<'FRAMES'
00 AA 01 08 03 04 00 00 00
00 AA 01 7C 79 01 00 00 00
00 AA 01 78 79 01 00 00 00
FRAMES

echo "windows package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
