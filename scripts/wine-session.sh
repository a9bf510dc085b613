# Sourced: gives the caller a fresh WINEPREFIX, a persistent wineserver, a Japanese
# locale and (when none is given) a virtual X display, all removed again on exit.

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

wine_session_xvfb_pid=
stop_wine_session() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  [ -n "$wine_session_xvfb_pid" ] && kill "$wine_session_xvfb_pid" 2>/dev/null || true
  [ -n "${wine_session_prefix:-}" ] && rm -rf "$wine_session_prefix"
  return 0
}

# Starts Xvfb on the first free display number and exports DISPLAY.
start_virtual_display() {
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  wine_session_xvfb_pid=$!
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  export DISPLAY=:$n
}

# Debian's Wine loads none of its own TrueType fonts from /usr/share/wine/fonts, so
# the caption buttons, drawn with Marlett, would show the letters "0 1 r": the font
# goes into the prefix's own font folder, which Wine does read.
add_caption_font() { cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"; }

start_wine_session() {
  trap stop_wine_session EXIT
  [ -n "${DISPLAY:-}" ] || start_virtual_display
  wine_session_prefix=$(mktemp -d /tmp/wineprefix.XXXXXX)
  export WINEPREFIX=$wine_session_prefix
  "$WINESERVER" -p  # one server for the whole session: each process start is then quick
  "$WINE" wineboot -i >/dev/null 2>&1
  add_caption_font
}

# For the classic ipconfig's tests, after start_wine_session: Linux's own reading of
# this machine to compare its report with, and the time zone its stored reports'
# lease times are written in.
read_system_for_tool_tests() {
  export TZ=Asia/Tokyo
  python3 tests/ipconfig/system_facts.py >"$WINEPREFIX/system-facts.txt"
  export IPCONFIG_SYSTEM_FACTS="Z:$WINEPREFIX/system-facts.txt"
}
