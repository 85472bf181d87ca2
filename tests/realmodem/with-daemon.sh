#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside the real ModemManager and a virtual modem, all out of the machine's
# sight: a private mount namespace (the made-up sysfs entry of one USB modem whose device
# node is the simulator's pseudo-terminal, a private /dev) and a private D-Bus bus.
#
#   with-daemon.sh SIMULATOR COMMAND [ARGS...]
#
# COMMAND sees DBUS_SYSTEM_BUS_ADDRESS (the private bus), REALMODEM_CONTROL (the
# simulator's control socket), REALMODEM_DAEMON (a command that runs ModemManager in the
# foreground; the command starts and restarts it) and REALMODEM_WORK (logs). Exits 77 with
# the reason when this machine cannot do it; tears everything down whatever happens.
set -u
skip() {
  echo "SKIP: $*"
  exit 77
}

MM=${REALMODEM_MODEMMANAGER:-/usr/sbin/ModemManager}
tty=ttyVM0
# Every process started here ends with the one that started it, so that even a runner that
# kills this script outright (a test time-out) leaves nothing behind.
orphanless=()
command -v setpriv >/dev/null && orphanless=(setpriv --pdeathsig TERM)

# The daemon's own entry: called by the command (inside the namespace) to run ModemManager.
if [ "${1:-}" = --daemon ]; then
  : "${REALMODEM_WORK:?}"
  echo $$ >"$REALMODEM_WORK/daemon.pid"
  echo "action=add,name=$tty,subsystem=tty" >"$REALMODEM_WORK/events"
  exec "${orphanless[@]}" "$MM" --test-session --test-no-udev --no-auto-scan --test-no-suspend-resume \
    --initial-kernel-events="$REALMODEM_WORK/events" --log-level=DEBUG --log-timestamps \
    --log-file="$REALMODEM_WORK/modemmanager.log"
fi

[ $# -ge 2 ] || { echo "usage: $0 SIMULATOR COMMAND [ARGS...]" >&2; exit 2; }

if [ -z "${REALMODEM_INSIDE:-}" ]; then
  [ "$(id -u)" = 0 ] || skip "needs root: a mount namespace and a made-up sysfs entry for the modem"
  command -v unshare >/dev/null || skip "no unshare (util-linux) to make a private mount namespace"
  [ -x "$MM" ] || skip "ModemManager is not installed ($MM); apt install modemmanager"
  command -v dbus-daemon >/dev/null || skip "no dbus-daemon for a private bus"
  [ -d /usr/lib/udev/rules.d ] || skip "no /usr/lib/udev/rules.d to lay ModemManager's rules over"
  unshare -m --propagation private true 2>/dev/null || skip "unshare -m is refused here (no CAP_SYS_ADMIN?)"
  REALMODEM_INSIDE=1 exec unshare -m --propagation private "$0" "$@"
fi

simulator=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/realmodem.XXXXXX")
pids=()

cleanup() {
  local rc=$?
  [ -f "$work/daemon.pid" ] && pids+=("$(cat "$work/daemon.pid")")
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  done
  # Mounts die with the namespace; the ones under $work are taken down first so that the
  # removal below can never reach into the machine's /dev.
  umount -R "$work/dev" 2>/dev/null
  [ "${REALMODEM_KEEP:-}" ] && echo "kept: $work" || rm -rf --one-file-system "$work"
  exit $rc
}
trap cleanup EXIT
trap 'exit 143' TERM INT

fail() {
  echo "set-up failed: $*" >&2
  exit 1
}

# The modem.
"${orphanless[@]}" "$simulator" --pty-file "$work/pty" --control "$work/control" --log "$work/at.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/pty" ] && break; sleep 0.1; done
[ -s "$work/pty" ] || fail "the simulator gave no terminal"
pty=$(cat "$work/pty")

# The bus: ModemManager registers on it as its session bus; clients reach it as the system bus.
"${orphanless[@]}" dbus-daemon --session --nofork --print-address=1 >"$work/bus" 2>"$work/bus.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.1; done
address=$(head -n 1 "$work/bus")
[ -n "$address" ] || fail "dbus-daemon did not start"

# sysfs: a USB device (vendor 1234, product 5678) with one serial interface whose tty is
# ours. ModemManager walks up from /sys/class/tty/NAME to the USB device for its identity.
sys=/sys/class/tty
mount -t tmpfs sysfs-tty "$sys" || fail "cannot mount over $sys"
usb=$sys/.devices/usb1/1-1
intf=$usb/1-1:1.0
node=$intf/$tty/tty/$tty
mkdir -p "$node" "$sys/.bus/usb" "$sys/.bus/usb-serial" "$sys/.bus/tty" "$sys/.drivers/option"
printf '1234\n' >"$usb/idVendor"
printf '5678\n' >"$usb/idProduct"
printf 'dialcrest\n' >"$usb/manufacturer"
printf 'virtual modem\n' >"$usb/product"
for f in bInterfaceClass bInterfaceSubClass bInterfaceProtocol; do printf 'ff\n' >"$intf/$f"; done
printf '00\n' >"$intf/bInterfaceNumber"
ln -s "$sys/.bus/usb" "$usb/subsystem"
ln -s "$sys/.bus/usb" "$intf/subsystem"
ln -s "$sys/.drivers/option" "$intf/driver"
ln -s "$sys/.bus/usb-serial" "$intf/$tty/subsystem"
ln -s "$sys/.bus/tty" "$node/subsystem"
ln -s "$intf/$tty" "$node/device"
ln -s "$node" "$sys/$tty"

# /dev: the daemon opens /dev/NAME. The machine's /dev is shared with every other process,
# so a private one takes its place here, with only what the processes inside need.
mkdir "$work/dev"
mount -t tmpfs -o mode=755 dev "$work/dev" || fail "cannot mount a private /dev"
for n in null zero full random urandom tty ptmx; do cp -a "/dev/$n" "$work/dev/" 2>/dev/null; done
mkdir "$work/dev/pts" "$work/dev/shm"
mount --bind /dev/pts "$work/dev/pts" || fail "cannot bind /dev/pts"
mount --bind /dev/shm "$work/dev/shm" || fail "cannot bind /dev/shm"
ln -s /proc/self/fd "$work/dev/fd"
for i in 0 1 2; do ln -s "/proc/self/fd/$i" "$work/dev/$(echo stdin stdout stderr | cut -d' ' -f$((i + 1)))"; done
ln -s "$pty" "$work/dev/$tty"
mount --move "$work/dev" /dev || fail "cannot move the private /dev into place"

# Without udev the daemon reads the rules itself; ours tags the made-up modem for probing.
mkdir "$work/rules"
cp /usr/lib/udev/rules.d/*-mm-*.rules "$work/rules/" 2>/dev/null
cat >"$work/rules/78-mm-virtual-modem.rules" <<'RULES'
ACTION!="add|change|move|bind", GOTO="mm_virtual_modem_end"
SUBSYSTEMS=="usb", ATTRS{idVendor}=="1234", ATTRS{idProduct}=="5678", ENV{ID_MM_DEVICE_PROCESS}="1"
LABEL="mm_virtual_modem_end"
RULES
mount --bind "$work/rules" /usr/lib/udev/rules.d || fail "cannot lay the rules over /usr/lib/udev/rules.d"

export DBUS_SYSTEM_BUS_ADDRESS=$address DBUS_SESSION_BUS_ADDRESS=$address
export REALMODEM_CONTROL=$work/control REALMODEM_WORK=$work
export REALMODEM_DAEMON="$0 --daemon"
"${orphanless[@]}" "$@"
