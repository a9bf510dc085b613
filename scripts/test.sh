#!/usr/bin/env bash
# Runs every test suite: the portable code natively and under the sanitizers, the
# scanner's fuzzer for a bounded time, the Windows tests under wine64 on a virtual
# display, and the checks on the release program. Ends non-zero if any suite fails.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1

passed=0
failed=0
failed_names=()
suite() {
  local name=$1
  shift
  echo "=== suite $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failed_names+=("$name")
  fi
}

native_suite() {
  cmake --preset "$1" -DWARNINGS_AS_ERRORS=ON >/dev/null &&
    cmake --build --preset "$1" &&
    ctest --preset "$1"
}

suite native native_suite native
suite native-asan native_suite native-asan
suite fuzz bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
suite win64 bash scripts/windows-tests.sh
suite win32 native_suite win32

[ $failed -gt 0 ] && echo "failed suites: ${failed_names[*]}"
echo "suites: $passed passed, $failed failed"
[ $failed -eq 0 ]
