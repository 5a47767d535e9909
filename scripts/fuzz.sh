#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds (default 120) on a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-120}"
bash scripts/setup.sh clang
# The sanitizer and fuzzer runtime of the clang this release ships.
clang_major="$(clang -dumpversion | cut -d. -f1)"
bash scripts/setup.sh "libclang-rt-${clang_major}-dev"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKVT_FUZZ=ON -DKVT_GUI=OFF -DKVT_BENCH=OFF -DKVT_TESTS=ON -DKVT_SANITIZE=address,undefined
cmake --build build-fuzz -j"$(nproc)" --target fuzz_analyzer fuzz_splitter
for target in analyzer splitter; do
  work="build-fuzz/corpus-$target"
  mkdir -p "$work"
  cp -n tests/fuzz/corpus/$target/* "$work"/ 2>/dev/null || true
  "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 "$work"
done
