#!/usr/bin/env bash
# Measures the real saver from outside, under Wine on a private Xvfb: how long it takes to end after a key for
# a few stored Speed values, and how much processor time it uses while running at each. Prints a table; never
# fails on a figure. Run after scripts/build.sh:  bench/saver_end_bench.sh [seconds-per-run]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
seconds=${1:-8}
. "$root/scripts/session.sh"
start_wine_session 1024x768x24
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/win/whorlix.scr" "$work/whorlix.scr"
user=$("$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r')
ticks=$(getconf CLK_TCK)

# The Linux process that runs the saver (Wine names it after the program).
saver_pid() { pgrep -f "^$work/whorlix.scr /s" | head -1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

echo "| stored Speed | processor use while running (% of one core, ${seconds} s) | key to exit (ms) |"
echo "|---|---|---|"
for speed in 11 0 -20 100000; do
  printf '[%s]\r\nSpeed=%s\r\nSpiralTime=30\r\nPictureTime=15\r\n' "$user" "$speed" >"$work/whorlix.ini"
  "$root/scripts/wine-run.sh" "$WINEPREFIX" "$work/whorlix.scr" /s &
  runner=$!
  pid=
  for _ in $(seq 100); do pid=$(saver_pid || true); [ -n "$pid" ] && break; sleep 0.1; done
  # Loading is over well within two seconds; then the frame loop runs for the measured span.
  sleep 2
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  cpu=$(awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }')
  pressed=$(now_ms)
  xdotool key space
  for _ in $(seq 1200); do kill -0 "$runner" 2>/dev/null || break; sleep 0.05; done
  ended=$(now_ms)
  if kill -0 "$runner" 2>/dev/null; then
    echo "| $speed | $cpu | still running after 60 s |"
    kill "$runner" 2>/dev/null || true
  else
    echo "| $speed | $cpu | $((ended - pressed)) |"
  fi
  wait "$runner" 2>/dev/null || true
done
