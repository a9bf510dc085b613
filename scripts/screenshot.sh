#!/usr/bin/env bash
# Photographs the program under Wine on a virtual display, against a stored report
# printed by the stand-in ipconfig, and writes docs/main-window.png and
# docs/console-window.png. Usage: scripts/screenshot.sh [REPORT]
set -euo pipefail
cd "$(dirname "$0")/.."
report=$(realpath "${1:-tests/report/fixtures/win2000.txt}")
bash scripts/setup.sh
source scripts/wine-session.sh
source scripts/capture.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ipsettings ipconfig-standin pose >/dev/null
unset DISPLAY
start_wine_session
export IPCONFIG_STANDIN_REPORT="Z:$report"
capture_windows build/win64/pose.exe docs
