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

# Waits up to seconds for a command to succeed.
wait_for() {
    local seconds="$1"
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Xvfb picks a free display itself and writes its number to the descriptor once it listens: no
# display number is ever assumed, so servers started at the same time never collide. The display
# is used once a client has connected to it. -noreset: a server that resets when its last client
# leaves refuses the next one for a moment (the checks here are such clients). A server that does
# not come up is started again.
start_xvfb() {
    local attempt="$1" pid
    : >"$work/display"
    exec {displayfd}>"$work/display"
    Xvfb -displayfd "$displayfd" -screen 0 1600x1000x24 -nolisten tcp -noreset >>"$work/xvfb.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    exec {displayfd}>&-
    echo "Xvfb attempt $attempt" >>"$work/xvfb.log"
    # A whole line: the number and its newline.
    display_written() { [ "$(wc -l <"$work/display")" -ge 1 ]; }
    if ! wait_for 60 display_written; then
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    export DISPLAY=":$(head -n1 "$work/display")"
    if ! wait_for 60 xwininfo -root; then
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    kill -0 "$pid" 2>/dev/null
}
started=0
for attempt in 1 2 3; do
    if start_xvfb "$attempt"; then
        started=1
        break
    fi
done
[ "$started" = 1 ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

if [ "$wm" = 1 ]; then
    openbox >"$work/openbox.log" 2>&1 &
    pids+=("$!")
    # Ready once it names itself on the root window.
    wm_ready() { [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *'window id'* ]]; }
    wait_for 60 wm_ready || { cat "$work/openbox.log"; echo "openbox did not start"; exit 1; }
fi

status=0
"$@" || status=$?
exit "$status"
