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
# Each run feeds the same stream at the same time to three windows: one reading it through the
# serial port (a pseudo-terminal), one through the network channel over loopback UDP (a datagram
# a frame, as a module on the network sends), one over loopback TCP; the table shows them side by
# side, and the network's processor time per 1,000 frames as a multiple of the serial port's.
#
# Runs: the line's worst case (1,650 frames a second) with the monitor shown and hidden, then
# twenty times that rate for the longest stall; with repeats > 1 the line-rate run with the
# monitor shown is repeated and the medians of its processor times and ratios close the report.
#
# Usage: bench/side_by_side.sh [seconds=60] [fast_seconds=10] [build_dir=build] [repeats=1]
# Needs Xvfb (exit 77 without it) and the bench programs pty_feeder and side_by_side_window.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
fast_seconds="${2:-10}"
build="$(realpath "${3:-$root/build}")"
repeats="${4:-1}"
line_rate=1650
channels=(0 udp tcp)  # the windows' sources: pty0, then the network channels

if [ -z "${KVT_SIDE_BY_SIDE_INNER:-}" ]; then
    export KVT_SIDE_BY_SIDE_INNER=1
    exec "$root/tests/desktop/xvfb_run.sh" "$0" "$seconds" "$fast_seconds" "$build" "$repeats"
fi
ratios="$(mktemp /tmp/kvt_side_ratios_XXXXXX)"
trap 'rm -f "$ratios"' EXIT

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

# The value of key in a window's report.
value() { awk -v k="$2" '$1 == k {print $2}' "$1"; }

# run NAME RATE SECONDS [--hidden]
run() {
    local name="$1" rate="$2" secs="$3" hidden="${4:-}"
    local dir consumers=1 feeder term="" term_cpu0=0 term_cpu1=0 term_rss=0 c
    local -A window
    dir="$(mktemp -d /tmp/kvt_side_XXXXXX)"
    [ -n "$terminal" ] && [ -z "$hidden" ] && [ "$rate" = "$line_rate" ] && consumers=2
    "$build/bench/pty_feeder" "$dir" "$consumers" "$rate" "$secs" net &
    feeder=$!
    for _ in $(seq 200); do [ -s "$dir/pty$((consumers - 1))" ] && [ -s "$dir/udp_port" ] && break; sleep 0.05; done
    for c in "${channels[@]}"; do
        "$build/bench/side_by_side_window" "$dir" "$c" "$rate" $hidden >"$dir/window_$c.out" 2>"$dir/window_$c.err" &
        window[$c]=$!
    done
    for c in "${channels[@]}"; do
        for _ in $(seq 400); do [ -e "$dir/ready$c" ] && break; sleep 0.05; done
    done
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
            kill "$feeder" "${window[@]}" ${term:+"$term"} 2>/dev/null || true
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
    local status=0 s
    for c in "${channels[@]}"; do
        s=0
        wait "${window[$c]}" || s=$?
        if [ "$s" != 0 ]; then
            cat "$dir/window_$c.err"
            echo "   the $c window run failed ($s)"
            status="$s"
        fi
    done
    touch "$dir/stop"
    wait "$feeder" || true
    echo "== $name: $rate frames a second for $secs s, monitor $([ -n "$hidden" ] && echo hidden || echo shown)"
    # One row a key, one column a channel.
    local keys
    keys="$(awk '$1 != "samples" {print $1}' "$dir/window_0.out")"
    for k in $keys; do
        printf '   %-40s' "$k"
        for c in "${channels[@]}"; do printf ' %12s' "$(value "$dir/window_$c.out" "$k")"; done
        printf '\n'
    done
    local serial udp tcp
    serial="$(value "$dir/window_0.out" cpu_ms_per_1000)"
    udp="$(value "$dir/window_udp.out" cpu_ms_per_1000)"
    tcp="$(value "$dir/window_tcp.out" cpu_ms_per_1000)"
    if [ -n "$serial" ] && [ -n "$udp" ] && [ -n "$tcp" ]; then
        awk -v s="$serial" -v u="$udp" -v t="$tcp" 'BEGIN {printf "   cpu per 1,000 frames as a multiple of the serial port'"'"'s: UDP %.2f, TCP %.2f\n", u / s, t / s}'
        [ -z "$hidden" ] && [ "$rate" = "$line_rate" ] && echo "$serial $udp $tcp" >>"$ratios"
    fi
    for c in "${channels[@]}"; do
        grep '^samples' "$dir/window_$c.out" | sed "s/^/   $c /"
    done
    if [ -n "$term" ]; then
        local frames
        frames="$(cat "$dir/sent")"
        echo "   terminal beside it: cpu_ms_per_1000 $(awk -v c=$((term_cpu1 - term_cpu0)) -v f="$frames" 'BEGIN {printf "%.1f", c * 1000 / f}'), peak_rss_mb $(awk -v k="$term_rss" 'BEGIN {printf "%.1f", k / 1024}')"
    fi
    rm -rf "$dir"
    return "$status"
}

echo "columns: serial UDP TCP"
for _ in $(seq "$repeats"); do
    run "line rate" "$line_rate" "$seconds"
done
run "line rate" "$line_rate" "$seconds" --hidden
run "twenty times the line rate" $((line_rate * 20)) "$fast_seconds"
if [ "$repeats" -gt 1 ]; then
    # Medians of the line-rate runs with the monitor shown.
    median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
    echo "== medians of $repeats line-rate runs, monitor shown: cpu_ms_per_1000 serial $(awk '{print $1}' "$ratios" | median)," \
        "UDP $(awk '{print $2}' "$ratios" | median), TCP $(awk '{print $3}' "$ratios" | median);" \
        "as multiples of the serial port's in the same run: UDP $(awk '{print $2 / $1}' "$ratios" | median)," \
        "TCP $(awk '{print $3 / $1}' "$ratios" | median)"
fi
