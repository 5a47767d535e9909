#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb on a free display), optionally under the
# openbox window manager, then stops what it started.
# Usage: xvfb_run.sh [--wm] command [args...]     Exit 77 (skipped) when a tool is missing.
set -euo pipefail

wm=0
if [ "${1:-}" = "--wm" ]; then
    wm=1
    shift
fi
for tool in Xvfb xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ "$wm" = 1 ] && ! command -v openbox >/dev/null; then
    echo "skipped: openbox is not installed"
    exit 77
fi

work="$(mktemp -d /tmp/kvt_xvfb_XXXXXX)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor.
exec {displayfd}>"$work/display"
Xvfb -displayfd "$displayfd" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=("$!")
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

if [ "$wm" = 1 ]; then
    openbox >"$work/openbox.log" 2>&1 &
    pids+=("$!")
    # Ready once it names itself on the root window.
    for _ in $(seq 100); do
        [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *'window id'* ]] && break
        sleep 0.1
    done
fi

status=0
"$@" || status=$?
exit "$status"
