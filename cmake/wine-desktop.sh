#!/bin/bash
# Makes sure the Wine prefix has its desktop on this X display before a window is opened, and keeps it.
#
# Windows always has its desktop. Under Wine the first program that wants one starts it and waits for it at
# most 10 s: on a loaded machine that program's window is then refused (error 1400, seen in CI). Started here,
# the desktop may take its time, and it stays: the launcher that runs it remains one of its users, so it does
# not close a second after the last program, as one that a program started does. It ends with its X server or
# with the prefix's wineserver.
# usage: wine-desktop.sh   (DISPLAY set; WINEPREFIX or Wine's default prefix)
set -euo pipefail
prefix=${WINEPREFIX:-$HOME/.wine}
record=$prefix/kept-desktop
wait_seconds=120 # Wine in the emulated test guest starts slowly

# Whether a desktop process (explorer.exe) of this prefix is running.
desktop_running() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$prefix" &&
            tr '\0' ' ' 2>/dev/null <"${environ%environ}cmdline" | grep -q 'explorer\.exe' && return 0
    done
    return 1
}

# A prefix not made yet is Wine's to make, the desktop with it, at its first program.
[ -d "$prefix" ] || exit 0
exec 9>>"$record.lock"
flock 9 # two programs started together start one desktop
kept_display="" kept_launcher=""
[ ! -f "$record" ] || read -r kept_display kept_launcher <"$record"
# The display's number alone names no server: a later one often takes the number of one that has ended.
desktop_shown() { xdotool search --class '^explorer\.exe$' >/dev/null 2>&1; }
if [ "$kept_display" = "$DISPLAY" ] && kill -0 "$kept_launcher" 2>/dev/null && desktop_shown; then
    exit 0
fi

# A desktop that a program started (or one whose X server has gone) is on its way out, and would refuse a
# window opened meanwhile.
for _ in $(seq $((wait_seconds * 10))); do
    desktop_running || break
    sleep 0.1
done
WINEPREFIX=$prefix WINEDEBUG=-all wine explorer.exe /desktop </dev/null >/dev/null 2>&1 9>&- &
launcher=$!
# Up once it has made its own X windows, which it does after the desktop window.
for _ in $(seq $((wait_seconds * 10))); do
    kill -0 "$launcher" 2>/dev/null || { echo "wine-desktop: the desktop process ended at its start" >&2; exit 1; }
    if desktop_shown; then
        echo "$DISPLAY $launcher" >"$record"
        exit 0
    fi
    sleep 0.1
done
echo "wine-desktop: no desktop on $DISPLAY after ${wait_seconds}s" >&2
exit 1
