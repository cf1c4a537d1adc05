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
    # With a display, the desktop too, kept for the windows to come (wine-desktop.sh says why).
    [ -z "${DISPLAY:-}" ] || bash "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-desktop.sh"
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
