#!/usr/bin/env bash
# Runs the real program's test against the release program, and the classic ipconfig's
# tests against the ipconfig.exe of the download, once more with IP Helper taken away:
# the 32-bit files that ship, under Wine's 32-bit side emulated by qemu.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-session.sh
source scripts/wine32-session.sh
start_wine32_session
read_system_for_tool_tests
python3 -m zipfile -e build/win32/ipsettings-*-win32.zip "$WINEPREFIX/download"
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
export IPSETTINGS_PROGRAM=$(windows_path build/win32/ipsettings.exe)
export IPCONFIG_TOOL=$(windows_path "$WINEPREFIX/download/ipconfig.exe")
echo "win32-program: $IPSETTINGS_PROGRAM, and ipconfig.exe from $(basename build/win32/ipsettings-*-win32.zip)"
cd build/win64  # the stand-in is found in the current folder
"$WINE" windows-tests.exe --gtest_filter='ProgramRun.*:ClassicIpconfig.*'
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;iphlpapi=d;ipconfig.exe=n" \
  "$WINE" windows-tests.exe --gtest_filter='WithoutIpHelper.*'
