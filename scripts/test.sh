#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# The desktop tests run on an Xvfb of their own, with and without openbox, clicking with xdotool.
bash scripts/setup.sh xvfb x11-utils xdotool openbox
bash scripts/build.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300
