#!/bin/bash
# Boots Debian 12's own kernel under QEMU and runs host-built programs inside it, against the kernel's real
# HID stack (hid core, hidraw, hid-generic, uhid). Passes only when every program exited 0 in the guest.
#
#   run-guest.sh COMMAND [COMMAND...]
#
# Each COMMAND is one argument: an absolute path to a program, optionally followed by its arguments. The guest
# sees the host's whole file tree read-only (9p) under a throw-away writable layer, so programs run there with
# the host's own shared libraries, Qt included; only /proc, /sys, /dev and /run are the guest's own.
#
# Environment: TREADKEY_GUEST_TIMEOUT  seconds from QEMU start until the guest must have finished (150)
#              TREADKEY_GUEST_CPU      QEMU's -cpu model (max)
#              XDG_CACHE_HOME          the kernel is kept under treadkey-setup/ there, one folder per version
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly HERE
readonly GUEST_TIMEOUT=${TREADKEY_GUEST_TIMEOUT:-150}
readonly GUEST_CPU=${TREADKEY_GUEST_CPU:-max}
readonly CACHE_ROOT=${XDG_CACHE_HOME:-$HOME/.cache}/treadkey-setup
readonly HOST_PACKAGES=(qemu-system-x86 busybox-static cpio)
# Loaded in this order in the guest; their dependencies come along through modules.dep. Nothing autoloads
# hid-generic without udev, and without it no hidraw node appears; evdev gives each input device of a HID
# device its event node, which the window holds.
readonly GUEST_MODULES=(uhid hid-generic evdev virtio_pci 9pnet_virtio 9p overlay)
readonly MARK='TREADKEY-GUEST:'

say() { echo "run-guest: $*"; }
die() {
    echo "run-guest: error: $*" >&2
    exit 1
}

check_commands() {
    [ $# -gt 0 ] || die "usage: run-guest.sh COMMAND [COMMAND...]"
    local command program
    for command in "$@"; do
        [[ $command != *$'\n'* ]] || die "a command may not span lines: $command"
        read -r program _ <<<"$command"
        [[ $program == /* ]] || die "not an absolute path: $program"
        [ -x "$program" ] || die "not an executable: $program (build it first)"
    done
}

install_missing_packages() {
    local missing=() package
    for package in "${HOST_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    [ "$(id -u)" -eq 0 ] || die "missing packages, install them first: ${missing[*]}"
    say "installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kernel_package() {
    apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }'
}

# The module files (relative to the version's module folder) that the guest's modules need, dependencies
# included: modules.dep lists each module's full dependency chain.
module_files() {
    local modules_dep=$1
    awk -v wanted=" ${GUEST_MODULES[*]//-/_} " '
        {
            file = $1; sub(/:$/, "", file)
            name = file; sub(/.*\//, "", name); sub(/\.ko.*$/, "", name); gsub(/-/, "_", name)
            if (index(wanted, " " name " ")) {
                found[name] = 1
                for (i = 1; i <= NF; i++) { f = $i; sub(/:$/, "", f); print f }
            }
        }
        END {
            n = split(wanted, names, " ")
            for (i = 1; i <= n; i++) if (!(names[i] in found)) { print "missing module " names[i] > "/dev/stderr"; exit 1 }
        }' "$modules_dep" | sort -u
}

kernel_cache_complete() {
    local dir=$1 version=$2 file
    [ -f "$dir/boot/vmlinuz-$version" ] && [ -f "$dir/lib/modules/$version/modules.dep" ] || return 1
    for file in $(module_files "$dir/lib/modules/$version/modules.dep" 2>/dev/null); do
        [ -f "$dir/lib/modules/$version/$file" ] || return 1
    done
}

# Keeps the kernel and only the modules the guest loads (the package holds ~4000). The package ships no
# modules.dep, so the whole module tree is unpacked aside once to compute it. Built aside and moved into place,
# so that concurrent runs never see half a cache.
fetch_kernel() {
    local package=$1 version=$2 dest=$3 staging deb files file
    mkdir -p "$CACHE_ROOT"
    staging=$(mktemp -d "$CACHE_ROOT/.incoming-XXXXXX")
    KERNEL_STAGING=$staging # global: the trap runs after this function has returned
    trap 'rm -rf "$KERNEL_STAGING"' EXIT
    say "downloading $package"
    if ! (cd "$staging" && apt-get download -q "$package"); then
        # The local package lists may name a version the mirror no longer has.
        [ "$(id -u)" -eq 0 ] || die "cannot download $package"
        apt-get update -qq
        (cd "$staging" && apt-get download -q "$package") || die "cannot download $package"
    fi
    deb=$(echo "$staging"/*.deb)
    mkdir "$staging/full"
    dpkg-deb --fsys-tarfile "$deb" |
        tar -x -C "$staging/full" "./boot/vmlinuz-$version" "./lib/modules/$version"
    busybox depmod -b "$staging/full" "$version"
    files=$(module_files "$staging/full/lib/modules/$version/modules.dep") ||
        die "the kernel $version lacks a module the guest needs"

    local modules=lib/modules/$version
    mkdir -p "$staging/root/boot" "$staging/root/$modules"
    cp "$staging/full/boot/vmlinuz-$version" "$staging/root/boot/"
    cp "$staging/full/$modules"/modules.* "$staging/root/$modules/"
    for file in $files; do
        install -D -m 644 "$staging/full/$modules/$file" "$staging/root/$modules/$file"
    done
    if ! mv -T "$staging/root" "$dest" 2>/dev/null && ! kernel_cache_complete "$dest" "$version"; then
        # An older cache of this version that lacks a module added since: set it aside, then replace it.
        mv -T "$dest" "$staging/outdated"
        mv -T "$staging/root" "$dest"
    fi
    kernel_cache_complete "$dest" "$version" || die "could not unpack $package into $dest"
}

# Echoes the folder holding boot/ and lib/modules/ of the guest kernel.
ensure_kernel() {
    local package version dir
    package=$(kernel_package)
    if [ -z "$package" ]; then
        [ "$(id -u)" -eq 0 ] || die "apt knows no linux-image-amd64; run apt-get update"
        apt-get update -qq
        package=$(kernel_package)
        [ -n "$package" ] || die "apt knows no linux-image-amd64"
    fi
    version=${package#linux-image-}
    dir=$CACHE_ROOT/kernel-$version
    kernel_cache_complete "$dir" "$version" || fetch_kernel "$package" "$version" "$dir" >&2
    echo "$dir"
}

# A busybox userland, the modules, the guest's /init and what it is to run; the programs themselves stay on
# the host and reach the guest through 9p.
build_initramfs() {
    local kernel_dir=$1 version=$2 out=$3
    shift 3
    local tree=$WORK/initramfs
    mkdir -p "$tree"/{bin,dev,proc,sys,lib/modules}
    cp /bin/busybox "$tree/bin/busybox"
    ln -s busybox "$tree/bin/sh" # the kernel runs /init through its #! line
    install -m 755 "$HERE/guest-init.sh" "$tree/init"
    cp -r "$kernel_dir/lib/modules/$version" "$tree/lib/modules/"
    printf '%s\n' "${GUEST_MODULES[@]}" >"$tree/guest-modules"
    printf '%s\n' "$@" >"$tree/guest-commands"
    (cd "$tree" && find . | cpio -o -H newc --owner=0:0 --quiet) >"$out"
}

# Streams the console to stdout and into $WORK/console.log; returns QEMU's status (124: timed out).
boot() {
    local kernel=$1 initramfs=$2 status=0
    timeout --kill-after=5 "$GUEST_TIMEOUT" \
        qemu-system-x86_64 -accel tcg -cpu "$GUEST_CPU" -M q35 -m 1024 -smp 1 -nodefaults -no-user-config \
        -display none -monitor none -serial stdio -no-reboot \
        -kernel "$kernel" -initrd "$initramfs" -append "console=ttyS0 quiet panic=-1 rdinit=/init" \
        -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
        </dev/null 2>&1 | sed -u 's/\r$//' | tee "$WORK/console.log" || status=$?
    return "$status"
}

# Every command must have reported exit 0, and the guest must have got to its end.
check_results() {
    local count=$1 index failed=0 line
    for ((index = 1; index <= count; index++)); do
        line=$(grep -a "^$MARK exit $index: " "$WORK/console.log" | tail -n 1 || true)
        if [ -z "$line" ]; then
            say "command $index gave no result"
            failed=1
        elif [ "${line##* }" != 0 ]; then
            say "command $index failed with exit status ${line##* }"
            failed=1
        fi
    done
    grep -aq "^$MARK finished" "$WORK/console.log" || {
        say "the guest did not finish"
        failed=1
    }
    return "$failed"
}

main() {
    check_commands "$@"
    install_missing_packages

    local kernel_dir version status=0 started
    kernel_dir=$(ensure_kernel)
    version=${kernel_dir##*/kernel-}

    WORK=$(mktemp -d "${TMPDIR:-/tmp}/treadkey-guest-XXXXXX")
    trap 'rm -rf "$WORK"' EXIT
    build_initramfs "$kernel_dir" "$version" "$WORK/initramfs.cpio" "$@"

    say "booting $version (TCG, timeout ${GUEST_TIMEOUT}s)"
    started=$SECONDS
    boot "$kernel_dir/boot/vmlinuz-$version" "$WORK/initramfs.cpio" || status=$?
    say "QEMU ran $((SECONDS - started))s"
    if [ "$status" -eq 124 ]; then
        say "the guest did not finish within ${GUEST_TIMEOUT}s; QEMU was stopped"
    elif [ "$status" -ne 0 ]; then
        say "QEMU exited with status $status"
    fi

    if check_results "$#"; then
        say "PASSED: all $# guest commands exited 0"
    else
        say "FAILED (console log above)"
        exit 1
    fi
}

main "$@"
