#!/usr/bin/env bash
# test-in-fresh-root.sh [RELEASE [COMMAND]]: runs the test command (or COMMAND) as a
# newcomer would, as root in a fresh minimal root of the Debian release named (trixie
# unless told), made by debootstrap from the mirror the machine's apt sources name, on a
# clean clone of this checkout's HEAD. Needs root; run one Wine run at a time on a
# machine. The root is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-trixie}
command=${2:-bash .ci/run}
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi
# shellcheck disable=SC2016  # apt's own placeholders, not the shell's
mirror=$(apt-get indextargets --format '$(REPO_URI) $(TARGET_OF)' | awk '$2 == "deb" { print $1; exit }')
root=$(mktemp -d /var/tmp/fresh-root.XXXXXX)
remove_root() {
  umount -R "$root" 2>/dev/null || true
  if grep -q " $root" /proc/mounts; then
    echo "fresh-root: $root is still mounted; left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap remove_root EXIT
echo "fresh-root: making a minimal $release root in $root"
debootstrap --variant=minbase "$release" "$root" "$mirror" >/dev/null
# unshare --mount needs the root to be a mount point, as a real machine's is.
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q . "$root/root/ipsettings"
chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin CI=true \
  bash -c "cd /root/ipsettings && time $command"
