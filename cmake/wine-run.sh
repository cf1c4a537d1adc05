#!/bin/bash
# Runs a Windows program under Wine as if it were a Linux one: Unix line ends on both streams, Wine's own
# diagnostics off unless WINEDEBUG says otherwise, and the program's exit status as ours (pipefail: tr
# succeeds, so the status is Wine's).
set -o pipefail
export WINEDEBUG=${WINEDEBUG:--all}
# On a display the program may open a window, for which the prefix's desktop must be up first.
if [ -n "${DISPLAY:-}" ]; then
    bash "$(dirname "${BASH_SOURCE[0]}")/wine-desktop.sh" || exit
fi
# The program's stdout leaves through fd 3 to the outer filter; its stderr through the inner one.
{ wine "$@" 2>&1 >&3 3>&- | tr -d '\r' >&2 3>&-; } 3>&1 | tr -d '\r'
