#!/usr/bin/env bash
# Feeds one pseudo-terminal stream of receive-data frames into the tester's main window with its
# frame monitor shown, on an X server of its own, and reports what it cost: processor time per
# 1,000 frames, peak and per-frame memory, how far the monitor's rows lagged the stream (its row
# count is sampled every 100 ms), the longest stall of the event loop, and the memory "清除报文"
# gives back. With KVT_SIDE_BY_SIDE_TERMINAL set to a plain serial terminal's command line, "{pty}"
# standing for the device (for example "picocom -b 115200 {pty}"), that terminal reads the same
# stream beside the tester and its processor time and memory are reported too; nothing needs one.
# (gtkterm 1.2.1 does not open a pseudo-terminal: it says "No open port". CuteCom runs beside it
# with KVT_SIDE_BY_SIDE_TERMINAL="$PWD/bench/cutecom_on_pty.sh {pty}".)
#
# Runs: the line's worst case (1,650 frames a second) with the monitor shown and hidden, then
# twenty times that rate for the longest stall.
#
# Usage: bench/side_by_side.sh [seconds=60] [fast_seconds=10] [build_dir=build]
# Needs Xvfb (exit 77 without it) and the bench programs pty_feeder and side_by_side_window.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
fast_seconds="${2:-10}"
build="$(realpath "${3:-$root/build}")"
line_rate=1650

if [ -z "${KVT_SIDE_BY_SIDE_INNER:-}" ]; then
    export KVT_SIDE_BY_SIDE_INNER=1
    exec "$root/tests/desktop/xvfb_run.sh" "$0" "$seconds" "$fast_seconds" "$build"
fi

for program in pty_feeder side_by_side_window; do
    [ -x "$build/bench/$program" ] || { echo "missing $build/bench/$program: build it first"; exit 1; }
done
terminal="${KVT_SIDE_BY_SIDE_TERMINAL:-}"

# Processor time of a process in milliseconds.
cpu_ms() {
    local fields
    read -r -a fields <<<"$(sed 's/^.*) //' "/proc/$1/stat")"
    echo $(((fields[11] + fields[12]) * 1000 / $(getconf CLK_TCK)))
}

# run NAME RATE SECONDS [--hidden]
run() {
    local name="$1" rate="$2" secs="$3" hidden="${4:-}"
    local dir consumers=1 feeder window term="" term_cpu0=0 term_cpu1=0 term_rss=0
    dir="$(mktemp -d /tmp/kvt_side_XXXXXX)"
    [ -n "$terminal" ] && [ -z "$hidden" ] && [ "$rate" = "$line_rate" ] && consumers=2
    "$build/bench/pty_feeder" "$dir" "$consumers" "$rate" "$secs" &
    feeder=$!
    for _ in $(seq 200); do [ -s "$dir/pty$((consumers - 1))" ] && break; sleep 0.05; done
    "$build/bench/side_by_side_window" "$dir" 0 "$rate" $hidden >"$dir/window.out" 2>"$dir/window.err" &
    window=$!
    for _ in $(seq 400); do [ -e "$dir/ready0" ] && break; sleep 0.05; done
    if [ "$consumers" = 2 ]; then
        HOME="$dir" bash -c "exec ${terminal//\{pty\}/$(cat "$dir/pty1")}" >/dev/null 2>&1 &
        term=$!
        sleep 4  # long enough for a terminal that must be clicked open
        term_cpu0="$(cpu_ms "$term")"
    fi
    touch "$dir/go"
    # A reader that stops reading holds the stream up: give up on it after a while.
    local waited=0
    while [ ! -e "$dir/sent" ]; do
        sleep 0.2
        waited=$((waited + 1))
        if [ "$waited" -gt $(((secs + 30) * 5)) ]; then
            echo "== $name: the stream did not end; a reader stopped reading"
            kill "$feeder" "$window" ${term:+"$term"} 2>/dev/null || true
            rm -rf "$dir"
            return 1
        fi
    done
    if [ -n "$term" ]; then
        sleep 1
        term_cpu1="$(cpu_ms "$term")"
        term_rss="$(awk '/VmHWM/ {print $2}' "/proc/$term/status")"
        kill "$term" 2>/dev/null || true
        wait "$term" 2>/dev/null || true
    fi
    local status=0
    wait "$window" || status=$?
    touch "$dir/stop"
    wait "$feeder" || true
    echo "== $name: $rate frames a second for $secs s, monitor $([ -n "$hidden" ] && echo hidden || echo shown)"
    sed 's/^/   /' "$dir/window.out"
    if [ -n "$term" ]; then
        local frames
        frames="$(cat "$dir/sent")"
        echo "   terminal beside it: cpu_ms_per_1000 $(awk -v c=$((term_cpu1 - term_cpu0)) -v f="$frames" 'BEGIN {printf "%.1f", c * 1000 / f}'), peak_rss_mb $(awk -v k="$term_rss" 'BEGIN {printf "%.1f", k / 1024}')"
    fi
    [ "$status" = 0 ] || { cat "$dir/window.err"; echo "   the window run failed ($status)"; }
    rm -rf "$dir"
    return "$status"
}

run "line rate" "$line_rate" "$seconds"
run "line rate" "$line_rate" "$seconds" --hidden
run "twenty times the line rate" $((line_rate * 20)) "$fast_seconds"
