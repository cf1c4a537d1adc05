#!/bin/bash
# Makes or removes the Wine prefix that a cross build's tests run in.
#
#   wine-prefix.sh make DIR    a fresh prefix in DIR, with a wineserver kept running for the tests
#   wine-prefix.sh remove DIR  stops that wineserver and removes DIR
set -euo pipefail
[ $# -eq 2 ] || {
    echo "usage: wine-prefix.sh make|remove DIR" >&2
    exit 2
}
export WINEPREFIX=$2 WINEDEBUG=-all

# Whether a desktop process (explorer.exe) of this prefix is running.
desktop_running() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            tr '\0' ' ' 2>/dev/null <"${environ%environ}cmdline" | grep -q 'explorer\.exe' && return 0
    done
    return 1
}
case $1 in
make)
    [ ! -e "$WINEPREFIX" ] || { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
    started=$SECONDS
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # Persistent until killed: each test would otherwise start a server of its own. The first program
    # run starts Wine's background services, which keep the streams they inherit open for as long as they
    # live; started here, they hold none of a test's.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    # The desktop process that run started ends a few seconds after it: a window opened meanwhile would be
    # refused by a desktop on its way out.
    for _ in $(seq 100); do
        desktop_running || break
        sleep 0.1
    done
    echo "prefix made in $((SECONDS - started))s"
    ;;
remove)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
*)
    echo "wine-prefix.sh: unknown action $1" >&2
    exit 2
    ;;
esac
