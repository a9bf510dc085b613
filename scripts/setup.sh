#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 or 13, and only what is missing.
# Safe to run again: a machine that already has everything is left untouched.
set -euo pipefail

# The compiler, with its libFuzzer and sanitizers, is the release's own, by the unversioned
# names: clang 14 on Debian 12, 19 on Debian 13.
packages=(
  cmake ninja-build make g++ python3 python3-pefile clang-format
  clang libclang-rt-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-ipafont-gothic fonts-wine locales
  hostname iproute2 util-linux shellcheck
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The program's 8-bit texts are Shift_JIS; Wine picks code page 932 from this locale.
# Lease times are also tested in Russian, whose ANSI code page (1251) is not its OEM one.
for name in ja_JP ru_RU; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$"; then
    echo "setup: generating the $name.UTF-8 locale"
    sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
    locale-gen >/dev/null
  fi
done
