#!/usr/bin/env bash
# test-network.sh COMMAND...: runs the command in a network of its own, so that the Windows
# tests meet the same machine everywhere, and leave the real one untouched: the host name
# testpc, two name servers, and adapters with fixed addresses. Listed first, in index
# order, come four links that are up without a default gateway, as a developer's virtual
# adapters are; then the pair whose first end holds the default route; then a pair whose
# link is down. Needs root; the namespaces end with the command.
set -euo pipefail

# A veth pair NAME INDEX and its peer at INDEX + 1, with addresses in NET.0/24; with
# "down", the peer stays down, so that the first end has no carrier either.
pair() {
  ip link add "$1" index "$2" address "02:00:00:00:00:$2" type veth \
    peer name "$1-peer" index $(($2 + 1)) address "02:00:00:00:00:$(($2 + 1))"
  ip address add "$3.1/24" dev "$1"
  ip address add "$3.2/24" dev "$1-peer"
  ip link set "$1" up
  if [ "${4:-}" != down ]; then ip link set "$1-peer" up; fi
}

if [ "${IPSETTINGS_TEST_NETWORK:-}" = made ]; then exec "$@"; fi
if [ "${1:-}" != --inside ]; then exec unshare --net --uts --mount bash "$0" --inside "$@"; fi
shift
hostname testpc
resolv=$(mktemp)
printf 'nameserver 10.30.0.53\nnameserver 10.30.0.54\n' >"$resolv"
mount --bind "$resolv" /etc/resolv.conf
rm "$resolv"
ip link set lo up
pair virtual0 20 10.20.0
pair virtual1 22 10.22.0
pair lan 30 10.30.0
ip route add default via 10.30.0.2 dev lan
pair cable 40 10.40.0 down
export IPSETTINGS_TEST_NETWORK=made
exec "$@"
