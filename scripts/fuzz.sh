#!/usr/bin/env bash
# Fuzzes under ASan and UBSan, each target in turn: the report scanner, seeded with the
# stored reports, and the round trip from the bundled ipconfig's report writer to the
# scanner. Progress goes to build/fuzz/NAME.log; the final statistics, or the finding,
# are shown. Usage: scripts/fuzz.sh [SECONDS [RUNS]]   (each target; no argument: the
# first runs until stopped)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target scan-report-fuzzer round-trip-fuzzer >/dev/null
limit=()
[ $# -ge 1 ] && limit+=(-max_total_time="$1")
[ $# -ge 2 ] && limit+=(-runs="$2")
for name in scan-report round-trip; do
  corpus=build/fuzz/$name-corpus
  log=build/fuzz/$name.log
  mkdir -p "$corpus"
  [ "$name" = scan-report ] && cp tests/report/fixtures/*.txt "$corpus"/
  echo "fuzz: $name, progress in $log"
  if build/fuzz/$name-fuzzer -max_len=32768 -print_final_stats=1 "${limit[@]}" "$corpus" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
  else
    tail -n 40 "$log"
    exit 1
  fi
done
