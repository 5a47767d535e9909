#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors). With --program, builds the tool alone.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
if [ "${1:-}" = "--program" ]; then
  targets=(--target kvtester)
  shift
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVT_WERROR=ON "$@"
cmake --build build -j"$(nproc)" "${targets[@]}"
