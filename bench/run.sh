#!/usr/bin/env bash
# Builds the x86_64 Windows build and prints the benchmarks' figures, measured under
# wine64 (on a virtual display when there is none) against the stand-in ipconfig.
# Usage: bench/run.sh [STARTS]   (process starts counted by the third benchmark; 4000)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-session.sh
unset DISPLAY
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target runner-bench startup-bench process-start-bench startup-baseline ipsettings \
  ipconfig-standin stack-depth-bench >/dev/null
start_wine_session
export IPCONFIG_STANDIN_REPORT="Z:$PWD/tests/report/fixtures/win2000.txt"
"$WINE" build/win64/runner-bench.exe
"$WINE" build/win64/startup-bench.exe
"$WINE" build/win64/process-start-bench.exe "${1:-4000}" >build/win64/process-starts.txt  # a file: no pipe to wait on
tail -n 1 build/win64/process-starts.txt
# The program beside the stack benchmark, which stands in for ipconfig there.
stack=build/win64/stack-bench
mkdir -p "$stack"
cp build/win64/ipsettings.exe "$stack"/
cp build/win64/stack-depth-bench.exe "$stack"/ipconfig.exe
"$WINE" build/win64/stack-depth-bench.exe "Z:${PWD//\//\\}\\${stack//\//\\}" >"$stack"/depth.txt
cat "$stack"/depth.txt
if [ -f build/win32/ipsettings.exe ]; then
  echo "release program: $(stat -c %s build/win32/ipsettings.exe) bytes (target at most 32,768)"
fi
