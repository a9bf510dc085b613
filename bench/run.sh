#!/usr/bin/env bash
# Builds the x86_64 Windows build and prints the benchmarks' figures, measured under
# wine64 (on a virtual display when there is none) against the stand-in ipconfig.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-session.sh
unset DISPLAY
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target runner-bench startup-bench ipsettings ipconfig-standin
start_wine_session
export IPCONFIG_STANDIN_REPORT="Z:$PWD/tests/report/fixtures/win2000.txt"
"$WINE" build/win64/runner-bench.exe
"$WINE" build/win64/startup-bench.exe
ls -l build/win32/ipsettings.exe 2>/dev/null | awk '{print "release program: " $5 " bytes (target at most 32,768)"}' || true
