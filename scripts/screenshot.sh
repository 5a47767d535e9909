#!/usr/bin/env bash
# Writes a PNG picture of the main window without a display: scripts/screenshot.sh [out.png] [width height]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-main-window.png}"
shift || true
bash scripts/setup.sh
bash scripts/build.sh > /dev/null
QT_QPA_PLATFORM=offscreen build/src/app/kvtester-shot "$out" "$@"
