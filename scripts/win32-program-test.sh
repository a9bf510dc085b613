#!/usr/bin/env bash
# Runs the real program's test against the release program, and the classic ipconfig's
# tests against the ipconfig.exe of the download, once more with IP Helper taken away:
# the 32-bit files that ship, under Wine's 32-bit side emulated by qemu, in a network of
# the tests' own (scripts/test-network.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${IPSETTINGS_TEST_NETWORK:-}" != made ]; then
  bash scripts/wine32-root.sh  # it fetches packages: before the network is left behind
  exec bash scripts/test-network.sh bash "$0" "$@"
fi
source scripts/wine-session.sh
use_test_settings
source scripts/wine32-session.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
download=build/win32/ipsettings-$version-win32.zip
[ -f "$download" ] || { echo "win32-program: no $download: build the package first" >&2; exit 1; }
start_wine32_session
python3 -m zipfile -e "$download" "$WINEPREFIX/download"
windows_path() {
  local path
  path=$(realpath "$1")
  echo "Z:${path//\//\\}"
}
IPSETTINGS_PROGRAM=$(windows_path build/win32/ipsettings.exe)
IPCONFIG_TOOL=$(windows_path "$WINEPREFIX/download/ipconfig.exe")
IPCONFIG_PLANTED_DLL=$(windows_path build/win32/planted.dll)
export IPSETTINGS_PROGRAM IPCONFIG_TOOL IPCONFIG_PLANTED_DLL
echo "win32-program: $IPSETTINGS_PROGRAM, and ipconfig.exe from $download"
export WINE WINE_RUN_SECONDS=600  # each run whole, and within a time limit, as ctest's are
cd build/win64  # the stand-in is found in the current folder
bash ../../scripts/wine-run.sh windows-tests.exe --gtest_filter='ProgramRun.*:ClassicIpconfig.*'
WINEDLLOVERRIDES="mscoree,mshtml=;ipconfig.exe=n" \
  bash ../../scripts/wine-run.sh windows-tests.exe --gtest_filter='SystemIpconfig.*'
