#!/usr/bin/env bash
# Builds the program and opens it under Wine with a Japanese locale, beside the
# classic-form ipconfig so that it shows this machine's own configuration. With no
# display it runs on a virtual one, saves a screenshot, says where, and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Wine's 32-bit side needs emulation on this kind of machine, so the x86_64 build of the
# same sources runs here. The 32-bit program for Windows: cmake --preset win32, then
# cmake --build --preset win32 --target package.
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ipsettings classic-ipconfig pose
run=build/run
mkdir -p "$run"
cp build/win64/ipsettings.exe build/win64/ipconfig/ipconfig.exe build/win64/pose.exe "$run"/

source scripts/wine-session.sh
source scripts/capture.sh
if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$PWD/$run/wineprefix  # kept between runs: the next start is quick
  [ -d "$WINEPREFIX" ] || "$WINE" wineboot -i >/dev/null 2>&1
  add_caption_font
  echo "run: opening $run/ipsettings.exe on $DISPLAY"
  exec "$WINE" "$run/ipsettings.exe"
fi

start_wine_session
echo "run: no display; running on a virtual one"
shot=$(capture_windows "$run/pose.exe" "$run" main)
echo "run: the window's screenshot is $PWD/$shot"
