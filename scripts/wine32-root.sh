#!/usr/bin/env bash
# Unpacks Wine's 32-bit side from Debian's archive into build/wine32/root, so that the
# release program can run here under qemu, with the qemu that runs it. Nothing is
# installed on the system: the i386 architecture and the backports source are added
# only for the download and removed again if they were not there before. Safe to run
# again: a complete root is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD/build/wine32
root=$top/root
qemu=$root/usr/bin/qemu-i386
[ -f "$root/.complete" ] && [ -x "$qemu" ] && exit 0

# The 32-bit loader and everything it loads; the X client libraries are only
# recommended by Wine, but its display driver needs them.
packages=(wine32:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 libxfixes3:i386
  libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386)

# Bookworm's qemu 7.2 ignores MAP_FIXED_NOREPLACE, which Wine's 32-bit loader reserves
# its address space with, and a start takes two minutes. With the qemu of
# bookworm-backports (10.0) it takes seconds; its static qemu-i386 alone is taken.
backports=/etc/apt/sources.list.d/ipsettings-wine32-backports.list
added_i386=''
added_backports=''
restore_sources() {
  [ -n "$added_i386" ] && dpkg --remove-architecture i386
  [ -n "$added_backports" ] && rm -f "$backports"
  if [ -n "$added_i386$added_backports" ]; then
    apt-get update -qq  # the package lists as they were
  fi
}
trap restore_sources EXIT
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  added_i386=yes
fi
if [ ! -e "$backports" ]; then
  # From the mirror that the machine's own bookworm suite comes from, as apt reads them.
  # shellcheck disable=SC2016  # apt's own placeholders, not the shell's
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' |
    awk '$2 == "bookworm" && $3 == "deb" { print $1; exit }')
  [ -n "$mirror" ] || { echo "wine32: the apt sources have no bookworm suite" >&2; exit 1; }
  echo "deb $mirror bookworm-backports main" >"$backports"
  added_backports=yes
fi
echo "wine32: fetching Wine's 32-bit side from Debian's archive into $top"
apt-get update -qq
rm -rf "$top" && mkdir -p "$top/debs" "$root"
mapfile -t names < <(apt-get install -s --no-install-recommends "${packages[@]}" |
  awk '$1 == "Inst" && $2 ~ /:i386$/ {print $2}')
[ ${#names[@]} -gt 0 ] || { echo "wine32: apt names no 32-bit package to fetch" >&2; exit 1; }
(cd "$top/debs" && apt-get download -qq -o APT::Sandbox::User=root "${names[@]}")
for deb in "$top"/debs/*.deb; do dpkg -x "$deb" "$root"; done
rm -f "$top"/debs/*.deb
(cd "$top/debs" && apt-get download -qq -o APT::Sandbox::User=root qemu-user/bookworm-backports)
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
rm -rf "$top/debs"
touch "$root/.complete"
