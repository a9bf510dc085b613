#!/usr/bin/env bash
# Runs every test suite: the formatting of the sources and their plainness, the portable
# code natively and under the sanitizers, the fuzzer for a bounded time, the
# Windows tests under wine64 on a virtual display, the checks on the release program and
# its download, and the release program itself under Wine's 32-bit side. Ends with a line
# per suite, the size of the tests against the code, and the suites' count; non-zero if
# any suite failed.
set -euo pipefail
cd "$(dirname "$0")/.." || exit 1
bash scripts/setup.sh

results=()
passed=0
failed=0
suite() {
  local name=$1 start=$SECONDS
  shift
  echo "=== suite $name"
  if "$@"; then
    passed=$((passed + 1))
    results+=("suite $name: passed in $((SECONDS - start)) s")
  else
    failed=$((failed + 1))
    results+=("suite $name: FAILED after $((SECONDS - start)) s")
  fi
}

# Runs a command and shows its output only when it fails.
quietly() {
  local out
  out=$("$@" 2>&1) || { printf '%s\n' "$out"; return 1; }
}

ctest_suite() {
  quietly cmake --preset "$1" &&
    quietly cmake --build --preset "$1" &&
    ctest --preset "$1"
}

# Files below the folders given, found on disk (a source tree unpacked from an archive
# is counted as a clone is), whose names end as the pattern says.
files() {
  local pattern=$1
  shift
  find "$@" -type f | grep -E "$pattern" | sort
}
formatted() {
  files '\.(c|cpp|h)$' app console report runner resources ipconfig tools tests fuzz bench |
    xargs clang-format --dry-run --Werror
}
# One statement a line, no GNU extension, C++ casts: clang's -Wcomma, -pedantic and
# -Wold-style-cast over every C++ file, with the mingw-w64 headers (GCC's own intrinsics
# stay out: clang cannot read them).
plain() {
  local folders=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix)
  local gcc=${folders[0]}
  files '\.cpp$' app console report runner resources ipconfig tools tests fuzz bench |
    xargs -P 2 -I{} clang++ --target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only \
      -nostdinc++ -isystem "$gcc/include/c++" -isystem "$gcc/include/c++/x86_64-w64-mingw32" \
      -isystem /usr/x86_64-w64-mingw32/include -isystem /usr/src/googletest/googletest/include \
      -I. -DSOURCE_DIR='""' -Wcomma -pedantic -Wold-style-cast -Werror {}
}
lines() { files '\.(c|cpp|h|py|rc|cmake|sh)$' "$@" | xargs cat | grep -cv '^[[:space:]]*$'; }

suite format formatted
suite one-statement-a-line plain
suite native ctest_suite native
suite native-asan ctest_suite native-asan
suite scripts shellcheck -x scripts/*.sh bench/*.sh .ci/run
suite fuzz bash scripts/fuzz.sh "${FUZZ_SECONDS:-80}"
suite win64 bash scripts/windows-tests.sh
suite win32 ctest_suite win32
suite win32-program bash scripts/win32-program-test.sh

echo
printf '%s\n' "${results[@]}"
tests=$(lines tests fuzz)
code=$(lines app console report runner resources ipconfig tools)
echo "test code: $tests non-blank lines against $code of code ($(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }'))"
echo "suites: $passed passed, $failed failed"
[ $failed -eq 0 ]
