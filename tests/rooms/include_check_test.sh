#!/bin/bash
# The include check passes on the tree as it is and fails, naming the file, for each include that crosses a
# room's link line: each row below breaks one rule in a copy of the sources.
set -uo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
check=$project/scripts/check-includes.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! out=$(bash "$check" "$project"); then
    echo "the tree itself fails the include check:"
    echo "$out"
    exit 1
fi

failures=0
# file to change | how (a project or system include line to add, or a sed edit of its CMakeLists.txt) | the file
# the check must name
while IFS='|' read -r file change named; do
    rm -rf "$scratch/src" && cp -r "$project/src" "$scratch/src"
    case $change in
    include:*) sed -i "1i #include \"${change#include:}\"" "$scratch/src/$file" ;;
    system:*) sed -i "1i #include <${change#system:}>" "$scratch/src/$file" ;;
    cmake:*) sed -i "${change#cmake:}" "$scratch/src/$file" ;;
    esac
    out=$(bash "$check" "$scratch")
    status=$?
    if ((status == 0)) || ! grep -q "^src/$named:" <<<"$out"; then
        echo "not caught: $file ($change); exit $status, said: $out"
        failures=$((failures + 1))
    fi
done <<'ROWS'
pedal/device_link.cpp|include:stacks/hidapi/hidapi_backend.h|pedal/device_link.cpp
pedal/pedal_watch.h|include:stacks/virtual/virtual_pedal.h|pedal/pedal_watch.h
hid/input_report.cpp|include:stacks/hid_backend.h|hid/input_report.cpp
protocol/frames.cpp|include:hid/input_layout.h|protocol/frames.cpp
editor/key_table.cpp|include:pedal/device_link.h|editor/key_table.cpp
stacks/open_failure.cpp|include:stacks/windows/windows_hid_records.h|stacks/open_failure.cpp
editor/CMakeLists.txt|cmake:s/ treadkey_hid//|editor/press_text.h
app/form/usb_form.cpp|system:QString|app/form/usb_form.cpp
app/form/CMakeLists.txt|cmake:s/PRIVATE treadkey_warnings/PRIVATE treadkey_warnings Qt6::Widgets/|app/form/CMakeLists.txt
cli/run.cpp|system:QCoreApplication|cli/run.cpp
app/form/usb_form.cpp|system:windows.h|app/form/usb_form.cpp
stacks/windows/windows_hid_records.cpp|system:windows.h|stacks/windows/windows_hid_records.cpp
app/win32/window_fonts.h|system:QFont|app/win32/window_fonts.h
app/win32/win32_window.cpp|include:app/qt_window.h|app/win32/win32_window.cpp
ROWS
exit $((failures > 0))
