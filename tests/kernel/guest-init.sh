#!/bin/sh
# The test guest's first process (busybox sh, no udev). Loads the modules named in /guest-modules, puts the
# host's file tree (9p, read-only) under a writable tmpfs layer, and runs each line of /guest-commands there
# as root, in a fresh home with Qt's offscreen platform. Each command's exit status goes to the console as
# "TREADKEY-GUEST: exit N: STATUS", where run-guest.sh reads it; "TREADKEY-GUEST: finished" closes the run.
/bin/busybox --install -s /bin
export PATH=/bin

say() { echo "TREADKEY-GUEST: $*"; }
give_up() {
    say "setup failed: $*"
    dmesg | tail -n 30
    poweroff -f
}

mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev

while read -r module; do
    modprobe "$module" || give_up "cannot load module $module"
done </guest-modules
[ -c /dev/uhid ] || give_up "no /dev/uhid"

mkdir -p /host /layer /guest
mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=262144,cache=loose hostroot /host ||
    give_up "cannot mount the host's files"
mount -t tmpfs tmpfs /layer
mkdir /layer/upper /layer/scratch
mount -t overlay overlay -o lowerdir=/host,upperdir=/layer/upper,workdir=/layer/scratch /guest ||
    give_up "cannot put a writable layer over the host's files"
mount -t proc proc /guest/proc
mount -t sysfs sysfs /guest/sys
mount -t devtmpfs devtmpfs /guest/dev
mkdir -p /guest/dev/shm
mount -t tmpfs tmpfs /guest/dev/shm
# A fresh /run: the host's udev database and sessions must not leak in.
mount -t tmpfs tmpfs /guest/run
mkdir -p /guest/run/user
mkdir -m 0700 /guest/run/user/0
mkdir -p /guest/run/home/.cache /guest/run/home/.config /guest/run/home/.local/share

say "kernel $(uname -r) ready after $(cut -d' ' -f1 /proc/uptime)s"
index=0
while read -r command; do
    index=$((index + 1))
    say "run $index: $command"
    status=0
    chroot /guest /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 \
        HOME=/run/home XDG_RUNTIME_DIR=/run/user/0 XDG_CACHE_HOME=/run/home/.cache \
        XDG_CONFIG_HOME=/run/home/.config XDG_DATA_HOME=/run/home/.local/share QT_QPA_PLATFORM=offscreen \
        /bin/sh -c "cd /run/home && exec $command" </dev/null || status=$?
    if [ "$status" -ne 0 ]; then
        echo "--- kernel log, last lines ---"
        dmesg | tail -n 30
    fi
    say "exit $index: $status"
done </guest-commands
say "finished"
poweroff -f
