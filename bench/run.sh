#!/usr/bin/env bash
# Builds the x86_64 Windows build and prints the benchmarks' figures, measured under
# wine64 against the stand-in ipconfig.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-session.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target runner-bench ipconfig-standin
start_wine_session
"$WINE" build/win64/runner-bench.exe
