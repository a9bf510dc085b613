# shellcheck shell=bash
# Sourced: gives the caller a fresh WINEPREFIX, a persistent wineserver, a Japanese
# locale and (when none is given) a virtual X display, all removed again on exit.

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

wine_session_xvfb_pid=
stop_wine_session() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  if [ -n "$wine_session_xvfb_pid" ]; then kill "$wine_session_xvfb_pid" 2>/dev/null || true; fi
  if [ -n "${wine_session_prefix:-}" ]; then rm -rf "$wine_session_prefix"; fi
  return 0
}

# Starts Xvfb on a display number that it finds free itself and exports DISPLAY; fails
# where Xvfb does not start.
start_virtual_display() {
  local number=$wine_session_prefix/display
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  wine_session_xvfb_pid=$!
  while [ ! -s "$number" ]; do
    kill -0 "$wine_session_xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb did not start" >&2; return 1; }
    sleep 0.1
  done
  DISPLAY=:$(head -n 1 "$number")
  export DISPLAY
}

# Fails where the virtual display went away during the session.
check_virtual_display() {
  [ -z "$wine_session_xvfb_pid" ] && return 0
  kill -0 "$wine_session_xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb is gone" >&2; return 1; }
}

# Debian's Wine loads none of its own TrueType fonts from /usr/share/wine/fonts, so
# the caption buttons, drawn with Marlett, would show the letters "0 1 r": the font
# goes into the prefix's own font folder, which Wine does read. Wine 10's title bars
# fall back to a font without Japanese, so the caption font is the Japanese font that
# set-up installs: a LOGFONTW of height -12, weight 700, the Shift_JIS character set
# and the face IPAGothic.
add_caption_font() {
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  local font=f4,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,bc,02,00,00,00,00,00,80,00,00,00,00
  local face=IPAGothic i reg=$WINEPREFIX/caption-font.reg
  for ((i = 0; i < 32; i++)); do
    font+=,$(printf '%02x' "'${face:i:1}"),00
  done
  printf '%s\r\n' REGEDIT4 '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]' \
    "\"CaptionFont\"=hex:$font" >"$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}"
}

# A crash ends the crashed program at once, its fault's address on standard error: no
# debugger starts (64-bit and 32-bit programs read their own key), where Wine's own would
# wait for a click that never comes.
no_crash_debugger() {
  local key='Software\Microsoft\Windows NT\CurrentVersion\AeDebug' reg=$WINEPREFIX/no-debugger.reg
  printf '%s\r\n' REGEDIT4 "[HKEY_LOCAL_MACHINE\\$key]" '"Debugger"=""' \
    "[HKEY_LOCAL_MACHINE\\${key/Software/Software\\Wow6432Node}]" '"Debugger"=""' >"$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}"
}

start_wine_session() {
  trap stop_wine_session EXIT
  wine_session_prefix=$(mktemp -d /tmp/wineprefix.XXXXXX)
  [ -n "${DISPLAY:-}" ] || start_virtual_display
  export WINEPREFIX=$wine_session_prefix
  # One server for the whole session: each process start is then quick.
  "$WINESERVER" -p || { echo "wine-session: wineserver did not start" >&2; return 1; }
  "$WINE" wineboot -i >/dev/null 2>&1 || { echo "wine-session: wineboot failed" >&2; return 1; }
  add_caption_font
  no_crash_debugger
}

# For the tests alone, not for a user's session: lease times in the zone that the stored
# texts are written in, and IP Helper looked for as Windows looks for it, in a program's
# own folder first, where the classic ipconfig's tests plant a DLL that it must never load.
use_test_settings() {
  export TZ=Asia/Tokyo WINEDLLOVERRIDES="$WINEDLLOVERRIDES;iphlpapi=n,b"
}
