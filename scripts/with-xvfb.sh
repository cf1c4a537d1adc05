#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb) and ends the server after it. The server picks a free display
# itself (-displayfd) instead of trusting lock files in /tmp, as xvfb-run -a does: two roots on one machine
# (CI's fresh roots, containers) share the abstract socket names but not /tmp. DISPLAY is set for the command;
# the server takes local connections without a cookie, so nothing depends on xauth.
# usage: with-xvfb.sh [-s "SERVER ARGUMENTS"] COMMAND [ARGUMENT]...
set -euo pipefail
server_args="-screen 0 1280x800x24"
if [ "${1:-}" = -s ]; then
    server_args=$2
    shift 2
fi
[ $# -gt 0 ] || {
    echo "usage: with-xvfb.sh [-s \"SERVER ARGUMENTS\"] COMMAND [ARGUMENT]..." >&2
    exit 2
}

scratch=$(mktemp -d)
server=""
trap '[ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }; rm -rf "$scratch"' EXIT
mkfifo "$scratch/display"
# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3>"$scratch/display" 2>"$scratch/server.log" &
server=$!
# The server writes its display number once it takes connections; end of file means it died first.
read -r number <"$scratch/display" || true
if [ -z "${number:-}" ]; then
    echo "with-xvfb: the X server did not start:" >&2
    cat "$scratch/server.log" >&2
    exit 1
fi
export DISPLAY=:$number
unset XAUTHORITY WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
