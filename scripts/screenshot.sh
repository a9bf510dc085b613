#!/usr/bin/env bash
# Photographs the program under Wine on a virtual display, against a stored report
# printed by the stand-in ipconfig, and writes docs/main-window.png and
# docs/console-window.png. Usage: scripts/screenshot.sh [REPORT]
set -euo pipefail
cd "$(dirname "$0")/.."
report=$(realpath "${1:-tests/report/fixtures/win2000.txt}")
bash scripts/setup.sh
source scripts/wine-session.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ipsettings ipconfig-standin pose >/dev/null
unset DISPLAY
start_wine_session
export IPCONFIG_STANDIN_REPORT="Z:$report"

shot=$(mktemp -d)
# pose starts the program, arranges its windows and prints their rectangles; the
# explorer call itself lasts as long as the program, so it runs in the background.
"$WINE" explorer /desktop=shot,1200x760 build/win64/pose.exe >"$shot/rects" 2>/dev/null &
for _ in $(seq 600); do
  [ "$(grep -c . "$shot/rects" 2>/dev/null)" = 2 ] && break
  sleep 0.1
done
rects=$(tr -d '\r' <"$shot/rects")
[ -n "$rects" ] || { echo "screenshot: the program's windows did not appear" >&2; exit 1; }
xwd -root -silent | convert xwd:- "$shot/screen.png"

# The virtual desktop's own window sits somewhere on the X screen: find its origin.
desktop=$(xwininfo -root -tree | awk '/"shot/ {print $(NF-1); exit}' || true)
ox=0 oy=0
if [[ ${desktop:-} =~ \+([0-9]+)\+([0-9]+) ]]; then ox=${BASH_REMATCH[1]} oy=${BASH_REMATCH[2]}; fi
mkdir -p docs
while read -r name x y w h; do
  convert "$shot/screen.png" -crop "${w}x${h}+$((x + ox))+$((y + oy))" +repage "docs/$name-window.png"
  echo "wrote docs/$name-window.png"
done <<<"$rects"
rm -rf "$shot"
