#!/usr/bin/env bash
# The program's options, tried on the real executable: bad values end with a message on stderr and exit code 2
# before any window opens (there is no display here, so a window would fail differently).
# usage: options_check.sh PATH/TO/treadkey-setup
set -uo pipefail
program=$1
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb # with no display, reaching the window would fail with another code

passed=0
failed=0
check() { # expected-code expected-text arguments...
    local code=$1 text=$2
    shift 2
    local output status
    output=$("$program" "$@" 2>&1)
    status=$?
    if [ "$status" -eq "$code" ] && grep -qF -- "$text" <<<"$output"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: treadkey-setup $* -> exit $status (expected $code), output:"
        sed 's/^/    /' <<<"$output"
    fi
}

check 2 "--report-length must be a whole number from 1 to 65535" --virtual-pedal --report-length 0
check 2 "--report-length must be a whole number from 1 to 65535" --virtual-pedal --report-length 65536
check 2 "--report-length must be a whole number from 1 to 65535" --virtual-pedal --report-length=-1
check 2 "--report-length must be a whole number from 1 to 65535" --virtual-pedal --report-length 9x
check 2 "--report-length" --virtual-pedal --report-length
check 2 "add --virtual-pedal" --report-length 9
check 2 "--virtual-pedal-log needs a file name" --virtual-pedal --virtual-pedal-log
check 2 "--virtual-pedal-press needs --virtual-pedal-composite" --virtual-pedal --virtual-pedal-press presses
check 2 "unknown argument '--bogus'" --bogus
check 2 "--result-log needs a file name" --result-log
check 2 "--click-file needs a file name" --click-file=
check 0 "--click-file FILE" --help
check 0 "--virtual-pedal-present FILE" --help
check 0 "treadkey-setup 2.4" --version
check 0 "treadkey-setup 2.4" -V

echo "options check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
