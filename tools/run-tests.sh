#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzz run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$top/tools/ensure-packages.sh"

passed=0
# Runs one build's suite and adds its count to the closing line.
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs") | tee "$log"
  passed=$((passed + $(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log" | tail -n1)))
  rm -f "$log"
}

echo "== Build and test"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$jobs"
run_ctest "$top/build"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S "$top" -B "$top/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVELTRIX_SANITIZE=ON >/dev/null
cmake --build "$top/build-sanitize" -j"$jobs"
run_ctest "$top/build-sanitize"

if [[ -f "$top/tools/fuzz-reader.sh" ]]; then
  echo "== Fuzzing the saved-game reader"
  bash "$top/tools/fuzz-reader.sh" 30
fi
echo "tests: $passed passed, 0 failed"
