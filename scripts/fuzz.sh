#!/usr/bin/env bash
# Fuzzes the report scanner under ASan and UBSan, seeded with the stored reports.
# Usage: scripts/fuzz.sh [SECONDS]   (no argument: runs until stopped)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build --preset fuzz --target scan-report-fuzzer
corpus=build/fuzz/corpus
mkdir -p "$corpus"
cp tests/report/fixtures/*.txt "$corpus"/
limit=()
[ $# -ge 1 ] && limit=(-max_total_time="$1")
exec build/fuzz/scan-report-fuzzer -max_len=32768 -print_final_stats=1 "${limit[@]}" "$corpus"
