#!/usr/bin/env bash
# Unpacks Wine's 32-bit side from Debian's archive into build/wine32/root, so that the
# release program can run here under qemu, with the qemu that runs it. Nothing is
# installed on the system: the i386 architecture, and where the release's own qemu is too
# old its backports source, are added only for the download and removed again if they
# were not there before. Safe to run again: a complete root is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD/build/wine32
root=$top/root
qemu=$root/usr/bin/qemu-i386
[ -f "$root/.complete" ] && [ -x "$qemu" ] && exit 0

# The i386 architecture and the apt sources belong to the whole root: a second first run
# at once, from another checkout, waits here until the first has put them back.
exec 9>/var/lib/apt/ipsettings-wine32.lock
flock 9
[ -f "$root/.complete" ] && [ -x "$qemu" ] && exit 0

# The 32-bit loader and everything it loads; the X client libraries are only
# recommended by Wine, but its display driver needs them.
packages=(wine32:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 libxfixes3:i386
  libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)

# Wine's 32-bit loader reserves its address space with MAP_FIXED_NOREPLACE, which qemu
# before 8.0 ignores (Debian 12's 7.2): a start then takes two minutes instead of seconds.
# Where the release's own qemu is that old, the qemu of its backports suite is taken;
# either way only its static qemu-i386.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
backports=/etc/apt/sources.list.d/ipsettings-wine32-backports.list
added_i386=''
added_backports=''
restore_sources() {
  [ -n "$added_i386" ] && dpkg --remove-architecture i386
  [ -n "$added_backports" ] && rm -f "$backports"
  if [ -n "$added_i386$added_backports" ]; then
    update_lists  # the package lists as they were
  fi
}
# A mirror caught mid-sync fails one list now and then; what is needed is checked below,
# where apt names the packages to fetch.
update_lists() {
  apt-get update -qq || echo "wine32: some package lists did not update; going on with those apt has" >&2
}
trap restore_sources EXIT
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  added_i386=yes
fi
update_lists
qemu_suite=$codename
if dpkg --compare-versions "$(apt-cache policy qemu-user | awk '/Candidate:/ {print $2}')" lt 1:8.0; then
  qemu_suite=$codename-backports
  if [ ! -e "$backports" ]; then
    # From the mirror that the machine's own suite comes from, as apt reads them.
    # shellcheck disable=SC2016  # apt's own placeholders, not the shell's
    mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' |
      awk -v suite="$codename" '$2 == suite && $3 == "deb" { print $1; exit }')
    [ -n "$mirror" ] || { echo "wine32: the apt sources have no $codename suite" >&2; exit 1; }
    echo "deb $mirror $qemu_suite main" >"$backports"
    added_backports=yes
    update_lists
  fi
fi
echo "wine32: fetching Wine's 32-bit side from Debian's archive into $top"
rm -rf "$top" && mkdir -p "$top/debs" "$root"
# Resolved as on an empty machine: the root needs the whole set, and the 64-bit packages
# installed here, which may be newer than a 32-bit list just fetched, must not take part.
# With another status file, apt 3 no longer learns the added architecture from dpkg.
: >"$top/no-packages"
mapfile -t names < <(apt-get install -s --no-install-recommends -o APT::Architectures::=i386 \
  -o Dir::State::status="$top/no-packages" "${packages[@]}" |
  awk '$1 == "Inst" && $2 ~ /:i386$/ {print $2}')
[ ${#names[@]} -gt 0 ] || { echo "wine32: apt names no 32-bit package to fetch" >&2; exit 1; }
(cd "$top/debs" && apt-get download -qq -o APT::Sandbox::User=root "${names[@]}")
for deb in "$top"/debs/*.deb; do dpkg -x "$deb" "$root"; done
rm -f "$top"/debs/*.deb
(cd "$top/debs" && apt-get download -qq -o APT::Sandbox::User=root "qemu-user/$qemu_suite")
qemu_debs=("$top"/debs/qemu-user_*.deb)
[ ${#qemu_debs[@]} -eq 1 ] || { echo "wine32: expected one qemu-user package, got ${qemu_debs[*]}" >&2; exit 1; }
dpkg-deb --fsys-tarfile "${qemu_debs[0]}" | tar -x -C "$root" ./usr/bin/qemu-i386

# Wine 8's wine64 looks for the 32-bit loader beside its own real path: a copy of it
# sits beside the unpacked 32-bit wine, and the 64-bit libraries are the system's.
cp /usr/lib/wine/wine64 "$root/usr/lib/wine/wine64"
mkdir -p "$root/usr/lib/x86_64-linux-gnu"
ln -sfn /usr/lib/x86_64-linux-gnu/wine "$root/usr/lib/x86_64-linux-gnu/wine"
# 32-bit user32 needs zlib1.dll, which Debian ships with the 64-bit package.
cp /usr/lib/x86_64-linux-gnu/wine/i386-windows/zlib1.dll "$root/usr/lib/i386-linux-gnu/wine/i386-windows/"
# The loader reads the root's own library cache, not the host's.
printf '%s\n' /lib/i386-linux-gnu /usr/lib/i386-linux-gnu >"$root/etc/ld.so.conf"
ldconfig -r "$root"
rm -rf "$top/debs" "$top/no-packages"
touch "$root/.complete"
