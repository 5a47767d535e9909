#!/usr/bin/env bash
# Runs CuteCom reading one pseudo-terminal in hex, for bench/side_by_side.sh:
#   KVT_SIDE_BY_SIDE_TERMINAL="bench/cutecom_on_pty.sh {pty}" bench/side_by_side.sh
# CuteCom takes its device only from its window: this seeds its settings with the device and
# 115200 8-N-1, then ticks "Hex output" and presses "Open" with xdotool once the window is up.
# On a pseudo-terminal it then says "Inappropriate ioctl for device" (there are no modem lines)
# and goes on reading; dismissing that note closes the device, so the note stays.
# Expects HOME to be a folder of its own (the benchmark gives it one) and no window manager.
set -euo pipefail
pty="$1"
command -v cutecom >/dev/null && command -v xdotool >/dev/null || { echo "needs cutecom and xdotool"; exit 77; }
mkdir -p "$HOME/.config/CuteCom"
cat >"$HOME/.config/CuteCom/CuteCom5.conf" <<CONF
[sessions]
1\\BaudRate=115200
1\\DataBits=8
1\\Device=$pty
1\\FlowControl=0
1\\OpenMode=3
1\\Parity=0
1\\StopBits=1
1\\autoReconnect=false
1\\name=Default
1\\showCtrlCharacters=false
1\\showTimestamp=false
size=1
CONF
(
    window="$(xdotool search --sync --onlyvisible --name CuteCom | head -1)"
    sleep 1
    xdotool mousemove --window "$window" 101 639 click 1    # Hex output
    sleep 0.5
    xdotool mousemove --window "$window" 50 43 click 1      # Open
) &
exec cutecom
