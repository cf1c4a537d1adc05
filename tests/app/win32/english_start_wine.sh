#!/usr/bin/env bash
# Starts treadkey-setup.exe under Wine where no font draws Chinese: in a prefix of its own, made while
# fontconfig sees one folder of Latin fonts alone. The window must start in English and say why once on
# stderr. Judged by the captions and places window_reader.exe reads from the window.
# usage: english_start_wine.sh treadkey-setup.exe window_reader.exe
set -euo pipefail
program=$(realpath "$1")
reader=$(realpath "$2")
self=$(realpath "$0")
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$(dirname "$self")/../../../scripts/with-xvfb.sh" "$self" "$@"
fi
wine_run=$(dirname "$self")/../../../cmake/wine-run.sh
wine_prefix=$(dirname "$self")/../../windows/wine-prefix.sh

work=$(mktemp -d)
pid=""
export WINEPREFIX=$work/wine-prefix
trap 'kill "$pid" 2>/dev/null || true; bash "$wine_prefix" remove "$WINEPREFIX"; rm -rf "$work"' EXIT

# shellcheck source=../window_session.sh
source "$(dirname "$self")/../window_session.sh"

latin=$(dirname "$(fc-match -f '%{file}' 'DejaVu Sans')")
[ "$(basename "$latin")" = dejavu ] || {
    echo "FAIL: no folder of DejaVu fonts found (fc-match gave a font in $latin)"
    exit 1
}
# Wine keeps the fonts it found when the prefix was made: a prefix made with the system's fonts draws Chinese
# whatever fontconfig sees later.
export FONTCONFIG_FILE=$work/fonts.conf
cat >"$FONTCONFIG_FILE" <<CONFIG
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>$latin</dir>
  <cachedir>$work/font-cache</cachedir>
</fontconfig>
CONFIG
bash "$wine_prefix" make "$WINEPREFIX" >/dev/null

# What the start rests on. Font links do not count: the window's check asks the selected font alone.
judge "fontconfig offers no font for Chinese" "" "$(fc-list :lang=zh)"
judge "Wine lists no font but the Latin folder's and its own bitmap ones" "" \
    "$("$wine_run" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' | grep ' REG_SZ ' |
        grep -v -i -F "Z:${latin//\//\\}\\" | grep -v -i '\.fon$' || true)"
judge "no font stands in for SimSun" "" \
    "$("$wine_run" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' |
        grep -i simsun || true)"

"$wine_run" "$program" --virtual-pedal 2>"$work/stderr" &
pid=$!
await_window "$work/stderr"
sleep 2 # the first ticks connect the pedal
judge "it starts in English, connected" "$(printf '%s\n' 'USB device is connected!' 'Chinese' 'Status')" \
    "$("$wine_run" "$reader" text Label3 Command3 Label_Status)"
# In the font drawn instead, each label's line still ends above the control under it.
judge "the status line ends above the delay label, the log's label above Clear" "above above" \
    "$("$wine_run" "$reader" place Label3 Label_delay Label_Status Clear | awk '
        { edge[NR] = NR % 2 ? $4 : $2 }
        END { print (edge[1] <= edge[2] ? "above" : "below"), (edge[3] <= edge[4] ? "above" : "below") }')"
xdotool key --window "$window" alt+F4
wait "$pid" && status=0 || status=$?
judge "Alt+F4 ends the program with status 0" 0 "$status"
judge "stderr holds one line, the note that no font draws Chinese" "1 1" \
    "$(wc -l <"$work/stderr") $(grep -c 'no installed font draws the Chinese captions' "$work/stderr" || true)"

echo "English start under Wine: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
