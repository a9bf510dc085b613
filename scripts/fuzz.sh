#!/usr/bin/env bash
# Fuzzes under ASan and UBSan the one target that checks the scanner on any bytes and the
# round trip from the bundled ipconfig's report writer to the scanner, seeded with the
# stored reports. Progress goes to build/fuzz/report.log, an input that fails beside it;
# the final statistics, or the finding, are shown. Usage: scripts/fuzz.sh [SECONDS [RUNS]]
# (no argument: it runs until stopped)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target report-fuzzer >/dev/null
limit=()
[ $# -ge 1 ] && limit+=(-max_total_time="$1")
[ $# -ge 2 ] && limit+=(-runs="$2")
corpus=build/fuzz/report-corpus
log=build/fuzz/report.log
mkdir -p "$corpus"
cp tests/report/fixtures/*.txt "$corpus"/
echo "fuzz: report, progress in $log"
if build/fuzz/report-fuzzer -max_len=32768 -print_final_stats=1 -artifact_prefix=build/fuzz/ "${limit[@]}" "$corpus" >"$log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
else
  tail -n 40 "$log"
  exit 1
fi
