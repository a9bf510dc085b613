#!/usr/bin/env bash
# Runs the real program's test against the release program, the 32-bit build that
# ships, under Wine's 32-bit side emulated by qemu.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-session.sh
source scripts/wine32-session.sh
start_wine32_session
export IPSETTINGS_PROGRAM="Z:$(realpath build/win32/ipsettings.exe | tr / '\\')"
cd build/win64  # the stand-in is found in the current folder
"$WINE" windows-tests.exe --gtest_filter='ProgramRun.*'
