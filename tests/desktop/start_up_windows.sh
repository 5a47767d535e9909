#!/usr/bin/env bash
# Starts the tester in a working directory of its own on the current X display and checks what
# a user sees at start-up: the main window "KV3391T" is the program's only visible top-level
# window (no page floats as a window of its own).
# Usage: start_up_windows.sh path/to/kvtester [screenshot.png]
set -euo pipefail

program="$(realpath "$1")"
shot="${2:-}"
class="$(basename "$program")"
work="$(mktemp -d /tmp/kvt_start_up_XXXXXX)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# "id name" of each visible window of the program that has its window class: Qt's own
# helper windows (the 1x1 and 3x3 selection owners) have no class and are left out.
visible_windows() {
    xwininfo -root -tree | grep -F "(\"$class\" \"$class\")" | while read -r id name _; do
        if [[ "$(xwininfo -id "$id")" == *'Map State: IsViewable'* ]]; then echo "$id $name"; fi
    done
}

(cd "$work" && exec "$program") >"$work/program.log" 2>&1 &
pid=$!
for _ in $(seq 150); do
    [[ "$(visible_windows)" == *'"KV3391T":'* ]] && break
    kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; echo "the program ended"; exit 1; }
    sleep 0.1
done
# What the start-up shows comes with the main window; give it a moment to settle.
sleep 1
[ -n "$shot" ] && command -v import >/dev/null && import -window root "$shot"

windows="$(visible_windows)"
echo "visible windows of $class:"
echo "$windows"
if [ "$(grep -c . <<<"$windows")" != 1 ] || [[ "$windows" != *'"KV3391T":'* ]]; then
    xwininfo -root -tree
    echo "FAILED: the main window must be the only visible top-level window"
    exit 1
fi
[ -e "$work/parsefile.txt" ] || { echo "FAILED: no parsefile.txt in the working directory"; exit 1; }
echo "ok"
