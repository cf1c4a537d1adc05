#!/usr/bin/env bash
# Runs a command in a freshly bootstrapped Debian 12 root, as root with a clean environment, on a clone of
# this checkout's current commit: what a new user's machine has, and nothing that was installed by hand.
#
#   scripts/in-fresh-debian.sh [--base TARBALL] [--put FILE]... COMMAND [ARGUMENT...]
#
# COMMAND runs with bash in the clone's top folder, e.g. `scripts/in-fresh-debian.sh ./scripts/test.sh`.
# --base TARBALL  reuse a bootstrapped root packed in TARBALL, or bootstrap one and pack it there when the
#                 file does not exist yet: several fresh roots for the price of one debootstrap.
# --put FILE      copy FILE into the root's /root, for COMMAND to find as /root/NAME (a package to install).
# The root lives under TMPDIR and is removed on every exit, after its mounts are gone. Needs root.
set -euo pipefail

readonly SUITE=bookworm
readonly MOUNTS=(dev dev/pts proc sys)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly source_dir

step=""
say() { echo "in-fresh-debian: $*"; }
fail() {
    echo "in-fresh-debian: FAILED at step: $step${1:+ ($1)}" >&2
    exit 1
}
begin() {
    step=$1
    say "$step"
}

base=""
put=()
while [ "${1:-}" = --base ] || [ "${1:-}" = --put ]; do
    if [ "$1" = --base ]; then
        base=${2:?--base needs a file}
    else
        put+=("${2:?--put needs a file}")
    fi
    shift 2
done
[ $# -gt 0 ] || {
    echo "usage: scripts/in-fresh-debian.sh [--base TARBALL] [--put FILE]... COMMAND [ARGUMENT...]" >&2
    exit 2
}
[ "$(id -u)" -eq 0 ] || {
    echo "in-fresh-debian: must run as root (debootstrap, chroot and mounts)" >&2
    exit 2
}

work=$(mktemp -d "${TMPDIR:-/tmp}/fresh-debian.XXXXXX")
root=$work/root

mounted_under_root() { awk -v root="$root/" 'index($2 "/", root) == 1 { print $2 }' /proc/self/mounts; }

cleanup() {
    local status=$? point
    # Innermost first; a lazy unmount detaches at once even while something still holds a file there.
    for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do
        umount -l "$root/${MOUNTS[i]}" 2>/dev/null || true
    done
    if [ -n "$(mounted_under_root)" ]; then
        # Removing the root with the host's /dev still bound inside it would remove the host's devices.
        echo "in-fresh-debian: still mounted, left in place: $(mounted_under_root | tr '\n' ' ')" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# The Debian archive that this machine's own apt sources name, so that the root sees the same packages.
mirror() {
    local uri
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $3 ~ /^bookworm$/ { print $2; exit }' /etc/apt/sources.list \
        2>/dev/null || true)
    echo "$uri"
}

bootstrap() {
    begin "bootstrap a minimal Debian 12 root (debootstrap --variant=minbase)"
    command -v debootstrap >/dev/null || bash "$source_dir/scripts/ensure-packages.sh" debootstrap >/dev/null ||
        fail "cannot install debootstrap"
    local archive
    archive=$(mirror)
    [ -n "$archive" ] || fail "no Debian archive named in this machine's apt sources"
    mkdir -p "$root"
    debootstrap --variant=minbase --include=ca-certificates,git "$SUITE" "$root" "$archive" \
        >"$work/debootstrap.log" 2>&1 || {
        tail -n 20 "$work/debootstrap.log" >&2
        fail "debootstrap from $archive"
    }
}

if [ -n "$base" ] && [ -f "$base" ]; then
    begin "unpack the bootstrapped root $base"
    mkdir -p "$root"
    tar -xf "$base" -C "$root" || fail
else
    bootstrap
    if [ -n "$base" ]; then
        begin "pack the bootstrapped root into $base"
        tar -cf "$base" -C "$root" . || fail
    fi
fi

begin "give the root this machine's apt sources and name resolution"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/" && rm -f "$root/etc/apt/sources.list"
fi
cp -r /etc/apt/apt.conf.d/. "$root/etc/apt/apt.conf.d/" 2>/dev/null || true

begin "mount /dev, /dev/pts, /proc and /sys in the root"
mount --bind /dev "$root/dev" || fail
mount --bind /dev/pts "$root/dev/pts" || fail
mount -t proc proc "$root/proc" || fail
mount -t sysfs sys "$root/sys" || fail

begin "clone commit $(git -C "$source_dir" rev-parse --short HEAD) into the root"
git clone -q --no-hardlinks "$source_dir" "$root/root/project" || fail
git -C "$root/root/project" checkout -q --detach "$(git -C "$source_dir" rev-parse HEAD)" || fail

for file in "${put[@]}"; do
    begin "put $(basename "$file") into the root's /root"
    cp "$file" "$root/root/" || fail
done

begin "run in the fresh root: $*"
command=$(printf '%q ' "$@")
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    TERM=dumb LANG=C.UTF-8 ${CI:+CI=$CI} bash -c "cd /root/project && $command" || fail "exit code $?"
say "passed: $*"
