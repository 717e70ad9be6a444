#!/usr/bin/env bash
# Builds the saved-game reader's fuzzer with clang and runs it for SECONDS
# (default 30). Exits non-zero when the fuzzer finds anything.
# Usage: bash tools/fuzz-reader.sh [SECONDS]
set -euo pipefail

seconds="${1:-30}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${FUZZ_BUILD_DIR:-$root/build-fuzz-reader}"
mkdir -p "$out/corpus" "$out/findings"

clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/src" \
  "$root/tests/fuzz/ReaderFuzz.cpp" \
  "$root/src/saves/SavedGameText.cpp" \
  "$root/src/saves/FileError.cpp" \
  -o "$out/reader_fuzz"

# New inputs go to the build folder's corpus; the seeds in the tree are only read.
"$out/reader_fuzz" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$out/findings/" \
  "$out/corpus" "$root/tests/fuzz/corpus"
echo "reader fuzzer: nothing found in ${seconds}s"
