#!/usr/bin/env bash
# Fuzzes the report scanner under ASan and UBSan, seeded with the stored reports.
# Progress goes to build/fuzz/fuzz.log; the final statistics, or the crash, are shown.
# Usage: scripts/fuzz.sh [SECONDS]   (no argument: runs until stopped)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build --preset fuzz --target scan-report-fuzzer >/dev/null
corpus=build/fuzz/corpus
log=build/fuzz/fuzz.log
mkdir -p "$corpus"
cp tests/report/fixtures/*.txt "$corpus"/
limit=()
[ $# -ge 1 ] && limit=(-max_total_time="$1")
echo "fuzz: progress in $log"
if build/fuzz/scan-report-fuzzer -max_len=32768 -print_final_stats=1 "${limit[@]}" "$corpus" >"$log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
else
  tail -n 40 "$log"
  exit 1
fi
