#!/usr/bin/env bash
# Prints the seconds from start to a visible, filled main window for the release
# program, the 32-bit build that ships, under Wine's 32-bit side emulated by qemu,
# against the stand-in ipconfig printing a stored report; then the stack left to it at the
# deepest chain of nested commands.
# Usage: bench/startup32.sh [STARTS]   (1 unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-session.sh
source scripts/wine32-session.sh
unset DISPLAY
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target ipsettings >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target startup-bench ipconfig-standin stack-depth-bench >/dev/null
start_wine32_session
export IPCONFIG_STANDIN_REPORT="Z:$PWD/tests/report/fixtures/win2000.txt"
program=$(realpath build/win32/ipsettings.exe)
program="Z:${program//\//\\}"
cd build/win64  # the stand-in is found in the current folder
"$WINE" startup-bench.exe "$program" "${1:-1}" >startup32.txt  # a file: no pipe to wait on
cat startup32.txt
mkdir -p stack-bench32
cp ../win32/ipsettings.exe stack-bench32/
cp stack-depth-bench.exe stack-bench32/ipconfig.exe
folder=$(realpath stack-bench32)
"$WINE" stack-depth-bench.exe "Z:${folder//\//\\}" >stack-bench32/depth.txt
cat stack-bench32/depth.txt
