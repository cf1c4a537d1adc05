#!/usr/bin/env bash
# Run by scripts/check-package-install.sh as root in a fresh Debian 12 root: installs the package DEB with apt
# (without recommended packages: what it depends on has to be enough), then checks that a font for Chinese came
# with it and that both programs start: the window on Qt's offscreen platform over the virtual pedal, in
# Chinese (it says on stderr when no installed font draws its Chinese captions), and treadkeyctl --version.
#   scripts/check-installed-package.sh DEB
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:?usage: scripts/check-installed-package.sh DEB}

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
# fc-list, to look with; it brings no font of its own.
apt-get install -y -qq --no-install-recommends fontconfig >/dev/null

source scripts/package-checks.sh
chinese_fonts=$(fc-list :lang=zh family)
echo "fonts for Chinese: $(head -n 1 <<<"$chinese_fonts")$([ "$(wc -l <<<"$chinese_fonts")" -gt 1 ] && echo ", ...")"
check "the package brought a font for Chinese (fc-list :lang=zh)" test -n "$chinese_fonts"

log=$(mktemp)
treadkey-setup -platform offscreen --virtual-pedal 2>"$log" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT
# Qt maps a font file only once it lays out the window's text.
laid_out() { kill -0 "$pid" && grep -qE '\.(ttf|ttc|otf)$' "/proc/$pid/maps"; }
for _ in $(seq 50); do
    laid_out 2>/dev/null && break
    sleep 0.2
done
sleep 1 # the first ticks of the connection timer
check "the window starts and lays out its text" laid_out
check "the window has a font for its Chinese captions" bash -c "! grep -q 'no installed font' '$log'"
closed() {
    kill -TERM "$pid"
    wait "$pid"
}
check "the window closes with exit code 0 on SIGTERM" closed
check "treadkeyctl --version" bash -c '[[ $(treadkeyctl --version) =~ ^treadkeyctl\ [0-9.]+$ ]]'
[ "$failed" -eq 0 ] || cat "$log" >&2

echo "installed package check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
