#!/usr/bin/env bash
# Sets up what is missing, builds the program alone, and starts the tester (build/src/app/kvtester).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "scripts/run.sh needs a desktop session (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  echo "Without one, scripts/screenshot.sh pictures the window and scripts/test.sh runs the tests." >&2
  exit 1
fi
bash scripts/setup.sh
bash scripts/build.sh --program
exec build/src/app/kvtester "$@"
