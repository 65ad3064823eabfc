#!/bin/bash
# Runs the scan test program against devices in network namespaces of their
# own, so that echo, ARP and the service port go over the kernel's network
# stack. Every address lies in a test network that exists only inside the
# namespaces made here, and they are all removed again however the test ends.
#
#   ScanInNamespaces.sh <scan test program> <device simulator>
#
# Exit 77 (skipped) without root or without the ip command (iproute2).
set -u
program=$1
simulator=$2

skip() { echo "SKIPPED: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "making network namespaces needs root"
command -v ip >/dev/null 2>&1 || skip "no 'ip' command (package iproute2)"

tag=zscan$$
tester=$tag-t ours=$tag-o foreign=$tag-f
net=10.203.117
# Our devices' hardware-address prefix, then an invented foreign one.
ours_mac=02:5a:e1:5c:a0:02
foreign_mac=02:5a:11:5c:a0:03
order=0612-0417
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    for ns in "$tester" "$ours" "$foreign"; do
        ip netns del "$ns" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

ip netns add "$tester" 2>/dev/null || skip "network namespaces cannot be made here"
ip netns add "$ours" && ip netns add "$foreign" || exit 1

set -e
# The tester's side: a bridge that both devices hang on.
ip -n "$tester" link set lo up
ip -n "$tester" link add zbr type bridge
ip -n "$tester" addr add "$net.1/29" dev zbr
ip -n "$tester" link set zbr up
# One veth pair per device: its end in the device's namespace is eth0.
attach() { # namespace host mac
    ip -n "$tester" link add "v$2" type veth peer name eth0 netns "$1"
    ip -n "$tester" link set "v$2" master zbr up
    ip -n "$1" link set lo up
    ip -n "$1" link set eth0 address "$3"
    ip -n "$1" addr add "$net.$2/29" dev eth0
    ip -n "$1" link set eth0 up
}
attach "$ours" 2 "$ours_mac"
attach "$foreign" 3 "$foreign_mac"
set +e

printf 'ident.ORDER=%s\n' "$order" > "$work/device.model"
ip netns exec "$ours" "$simulator" --port 6626 --bind "$net.2" --model "$work/device.model" > "$work/port" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
grep -qx 6626 "$work/port" || { echo "the simulated device did not start: $(cat "$work/port")"; exit 1; }

ZELL_SCAN_NET=$net ZELL_SCAN_OURS_MAC=$ours_mac ZELL_SCAN_FOREIGN_MAC=$foreign_mac ZELL_SCAN_ORDER=$order \
    ip netns exec "$tester" "$program" --gtest_brief=1
