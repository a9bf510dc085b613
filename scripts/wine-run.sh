#!/usr/bin/env bash
# wine-run.sh PROGRAM [ARGS...]: runs one Windows program under Wine ($WINE, else
# wine64); ctest runs the Windows tests through it, and the scripts run the 32-bit ones.
# A test run counts only when the test program's XML report says that its tests ran to
# their end, more than none, and none failed: Wine's loader may end with 0 when the
# program itself has vanished. A run ends after WINE_RUN_SECONDS (100 unless given), within
# ctest's limit. The caller sets WINEPREFIX.
set -uo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=${WINE:-/usr/lib/wine/wine64}
case " $* " in
  *" --gtest_list_tests "*) exec "$wine" "$@" ;;
  *" --gtest_"*) ;;
  *) exec "$wine" "$@" ;;
esac
xml=$(mktemp /tmp/wine-run.XXXXXX)
trap 'rm -f "$xml"' EXIT
rm -f "$xml"
seconds=${WINE_RUN_SECONDS:-100}
timeout -k 10 "$seconds" "$wine" "$@" --gtest_output="xml:Z:$xml"
status=$?
# Wine starts each Windows process outside the starter's process tree, so a limit that
# ends the test program leaves its commands running: end every process of the prefix.
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "wine-run: $1 ran past its $seconds s: ending every Wine process of the prefix" >&2
  "${WINESERVER:-/usr/lib/wine/wineserver}" -k
fi
# A count of the report's <testsuites> element, by its attribute's name.
count() { grep -m 1 -o '<testsuites [^>]*' "$xml" 2>/dev/null | grep -o " $1=\"[0-9]*\"" | tr -cd '0-9'; }
tests=$(count tests)
failures=$(count failures)
errors=$(count errors)
if [ -z "$tests" ] || [ -z "$failures" ] || [ -z "$errors" ]; then
  echo "wine-run: $1 ended (status $status) without reporting its tests: it did not finish" >&2
  exit 1
elif [ "$tests" -eq 0 ]; then
  echo "wine-run: $1 ran no test" >&2
  exit 1
elif [ "$status" -ne 0 ] || [ "$failures" -ne 0 ] || [ "$errors" -ne 0 ]; then
  exit 1
fi
