# shellcheck shell=bash
# Sourced, after start_wine_session: photographs the program in a Wine virtual
# desktop. The pose program beside it starts the program, arranges its windows and
# prints their rectangles; each window is cut out of the screen as OUTDIR/NAME-window.png.
# Usage: capture_windows POSE_EXE OUTDIR [main]   ("main": the main window alone)
capture_windows() {
  local pose=$1 outdir=$2 only=${3:-}
  local work expected=2
  [ "$only" = main ] && expected=1
  work=$(mktemp -d)
  # The prefix's programs open in a virtual desktop named "shot", where Wine draws their
  # frames. It is set in the registry: Wine 10's "explorer /desktop=…" starting a program
  # fails on a display with no window manager.
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shot /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shot /d 1200x760 /f >/dev/null 2>&1
  "$WINE" "$pose" ${only:+"$only"} >"$work/rects" 2>/dev/null &
  for _ in $(seq 600); do
    [ "$(grep -c . "$work/rects" 2>/dev/null)" -ge $expected ] && break
    sleep 0.1
  done
  if [ "$(grep -c . "$work/rects" 2>/dev/null)" -lt $expected ]; then
    echo "the program's windows did not appear" >&2
    rm -rf "$work"
    return 1
  fi
  xwd -root -silent | convert xwd:- "$work/screen.png"
  # The virtual desktop's own window sits somewhere on the X screen: find its origin.
  local desktop ox=0 oy=0
  desktop=$(xwininfo -root -tree | awk '/"shot/ {print $(NF-1); exit}' || true)
  if [[ ${desktop:-} =~ \+([0-9]+)\+([0-9]+) ]]; then ox=${BASH_REMATCH[1]} oy=${BASH_REMATCH[2]}; fi
  mkdir -p "$outdir"
  local name x y w h
  while read -r name x y w h; do
    convert "$work/screen.png" -crop "${w}x${h}+$((x + ox))+$((y + oy))" +repage "$outdir/$name-window.png"
    echo "$outdir/$name-window.png"
  done < <(tr -d '\r' <"$work/rects")
  rm -rf "$work"
}
