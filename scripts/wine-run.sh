#!/usr/bin/env bash
# Runs one Windows program under wine64; ctest uses it to run the Windows tests.
# The caller sets WINEPREFIX (scripts/test.sh gives each test run a fresh one).
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec /usr/lib/wine/wine64 "$@"
