#!/usr/bin/env bash
# Pictures the tester as PNG.
#   scripts/screenshot.sh [out.png] [width height]
#       the main window alone, drawn without a display
#   scripts/screenshot.sh --screen [--wm] [out.png]
#       the whole screen of an X server of its own (Xvfb; --wm adds the openbox window manager)
#       with the tester just started on it, as a user sees it
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--screen" ]; then
    shift
    wm=()
    if [ "${1:-}" = "--wm" ]; then
        wm=(--wm)
        shift
    fi
    out="$(realpath -m "${1:-screen.png}")"
    bash scripts/setup.sh imagemagick xvfb x11-utils openbox
    bash scripts/build.sh > /dev/null
    bash tests/desktop/xvfb_run.sh "${wm[@]}" tests/desktop/start_up_windows.sh build/src/app/kvtester "$out"
    echo "wrote $out"
    exit 0
fi
out="${1:-main-window.png}"
shift || true
bash scripts/setup.sh
bash scripts/build.sh > /dev/null
QT_QPA_PLATFORM=offscreen build/src/app/kvtester-shot "$out" "$@"
