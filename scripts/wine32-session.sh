# shellcheck shell=bash
# Sourced after wine-session.sh: a session that also runs 32-bit Windows programs, the
# release program among them. This machine's kernel cannot run 32-bit Linux programs,
# so Wine's 32-bit loader (from build/wine32/root, see wine32-root.sh) runs under
# qemu through a binfmt_misc entry that lives only as long as the session. Everything
# else, wineserver and the 64-bit programs, stays native.

wine32_root=$PWD/build/wine32/root
wine32_binfmt=/proc/sys/fs/binfmt_misc
# An entry of this session's own: another run's entry, and its end, leave it alone.
wine32_entry=ipsettings-wine32-i386-$$

stop_wine32_session() {
  stop_wine_session
  if [ -e "$wine32_binfmt/$wine32_entry" ]; then echo -1 >"$wine32_binfmt/$wine32_entry"; fi
  return 0
}

# i386 ELF executables and shared objects, handed to qemu opened at registration (F).
# binfmt_misc is left mounted: another run may use it (in the test network's own mount
# namespace, the mount goes with the namespace).
register_i386_binfmt() {
  [ -e "$wine32_binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$wine32_binfmt"
  printf '%s' ":$wine32_entry:M::"'\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$wine32_root/usr/bin/qemu-i386"':F' \
    >"$wine32_binfmt/register"
}

start_wine32_session() {
  bash scripts/wine32-root.sh
  # The prefix is made natively, and its 32-bit side is the unpacked DLLs copied into
  # it: nothing of its setting up runs under emulation.
  start_wine_session
  trap stop_wine32_session EXIT
  cp -r "$wine32_root"/usr/lib/i386-linux-gnu/wine/i386-windows/. "$WINEPREFIX/drive_c/windows/syswow64/"
  register_i386_binfmt
  export QEMU_LD_PREFIX=$wine32_root
  export WINE=$wine32_root/usr/lib/wine/wine64  # it finds the 32-bit loader beside itself
}
