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
end_server() {
    [ -z "$server" ] || { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; }
    server=""
}
trap 'end_server; rm -rf "$scratch"' EXIT

# Starts a server and sets $number to its display once it takes connections; end of file on the pipe means it
# died first. -noreset: by default the server starts over each time its last client leaves, and the scripts'
# probes (xdotool) come and go many times a second while a slow program (a sanitizer build, Wine) is still
# connecting.
start_server() {
    rm -f "$scratch/display"
    mkfifo "$scratch/display"
    # shellcheck disable=SC2086 # the server's arguments are words
    Xvfb -displayfd 3 -nolisten tcp -noreset $server_args 3>"$scratch/display" 2>"$scratch/server.log" &
    server=$!
    number=""
    read -r number <"$scratch/display" || true
    [ -n "$number" ]
}

# A display number alone does not prove that a client reaches this server: ask it, and take another server when
# it does not answer.
for attempt in 1 2 3; do
    if start_server && DISPLAY=:$number xdotool getdisplaygeometry >/dev/null 2>&1; then
        break
    fi
    echo "with-xvfb: attempt $attempt: the X server${number:+ on :$number} did not answer:" >&2
    cat "$scratch/server.log" >&2
    end_server
    [ "$attempt" -lt 3 ] || exit 1
done
export DISPLAY=:$number
unset XAUTHORITY WAYLAND_DISPLAY
status=0
"$@" || status=$?
# What the server said is the first thing to read when a client could not reach it.
if [ "$status" -ne 0 ] && ! kill -0 "$server" 2>/dev/null; then
    echo "with-xvfb: the X server on :$number ended before the command did:" >&2
    cat "$scratch/server.log" >&2
fi
exit "$status"
