#!/usr/bin/env bash
# Builds the x86_64 Windows program and tests, then runs them under wine64 in a
# throw-away WINEPREFIX, on a virtual X display, with a Japanese locale, in a network
# of the tests' own (scripts/test-network.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${IPSETTINGS_TEST_NETWORK:-}" = made ] || exec bash scripts/test-network.sh bash "$0" "$@"
source scripts/wine-session.sh
use_test_settings

cmake --preset win64 >/dev/null
build=$(cmake --build --preset win64 2>&1) || { printf '%s\n' "$build"; exit 1; }
start_wine_session
ctest --preset win64 "$@"
check_virtual_display
