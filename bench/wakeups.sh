#!/usr/bin/env bash
# bench/wakeups.sh [SCR]: what a night of the spiral costs, from outside. Runs whorlix.scr /s (the build's, or the one
# given) under Wine on a private Xvfb, spiral only, at 1024 x 768 and 1920 x 1080 and Speed 0, 11 and 40, and samples
# its Linux threads: the render thread's wake-ups a second (voluntary + involuntary context switches), the whole
# process's wake-ups and processor use, and the visible frame interval (bench/screen_watch.c --pace: median and
# p95). Then the same with the displays off (bench/display_state.exe delivers what Windows sends), and the time
# from the displays coming on again to the spiral's next visible change. Last, the system timer periods the saver
# asks for (Wine's relay trace of timeBeginPeriod). Run after scripts/build.sh; prints a table, never fails on a figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
seconds=${WHORLIX_SAMPLE_SECONDS:-4}
. "$root/bench/watch_session.sh"
wine_run() { "$root/scripts/wine-run.sh" "$WINEPREFIX" "$@"; }
ticks_per_s=$(getconf CLK_TCK)

# "TID WAKEUPS CPU-TICKS" for every thread of the process, the main (window) thread first.
threads() {
  for t in "/proc/$1/task/"*; do
    awk -v tid="${t##*/}" '/ctxt_switches/ {s += $2} END {printf "%s %d ", tid, s}' "$t/status" 2>/dev/null &&
      awk '{print $14 + $15}' "$t/stat" 2>/dev/null
  done | sort -n
}
# Per-thread wake-ups a second and processor % between two samples, and the render thread's line (the busiest
# thread that is not the window thread) and the process's: "render-wakeups process-wakeups process-cpu%".
rates() {
  join <(echo "$1") <(echo "$2") | awk -v pid="$3" -v s="$seconds" -v hz="$ticks_per_s" '
    { w = ($4 - $2) / s; c = ($5 - $3); total += w; cpu += c; if ($1 != pid && w > render) render = w }
    END { printf "%.0f %.0f %.1f", render, total, 100 * cpu / hz / s }'
}
sample() {
  local a b
  a=$(threads "$1"); sleep "$seconds"; b=$(threads "$1")
  rates "$a" "$b" "$1"
}
stats() { sort -n | awk '{v[NR] = $1} END {if (NR) printf "%s / %s", v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.5)]; else printf "-"}'; }

echo "| size | Speed | render thread wake-ups/s | process wake-ups/s | processor % | frame interval median / p95 (ms) | displays off: render / process wake-ups/s, processor % | on again to the next frame (ms) |"
echo "|---|---|---|---|---|---|---|---|"
for size in 1024x768 1920x1080; do
  start_private_xvfb "${size}x24"
  wine_run cmd /c exit >/dev/null 2>&1 || true
  user=$(wine_run cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r\n')
  for speed in 0 11 40; do
    printf '[%s]\r\nSpeed=%s\r\nSpiralTime=30\r\nPictureTime=0\r\n' "$user" "$speed" >"$work/run/whorlix.ini"
    wine_run "$work/run/whorlix.scr" /s >/dev/null 2>&1 &
    runner=$!
    pid=
    for _ in $(seq 100); do pid=$(pgrep -f "^$work/run/whorlix.scr /s" | head -1 || true); [ -n "$pid" ] && break; sleep 0.1; done
    sleep 3 # loading is over
    "$work/screen_watch" --pace "$seconds" >"$work/pace.txt" &
    watcher=$!
    read -r render total cpu <<<"$(sample "$pid")"
    wait "$watcher" || true
    interval=$(grep '^interval' "$work/pace.txt" | cut -d' ' -f2 | stats)
    if wine_run "$build/win/bench/display_state.exe" 0 >/dev/null 2>&1; then
      sleep 1
      read -r offRender offTotal offCpu <<<"$(sample "$pid")"
      back=$(wine_run "$build/win/bench/display_state.exe" 1 2>/dev/null | tr -d '\r')
      off="$offRender / $offTotal, $offCpu"
    else
      off="not delivered"; back="-"
    fi
    echo "| $size | $speed | $render | $total | $cpu | $interval | $off | $back |"
    xdotool key space >/dev/null 2>&1 || true
    for _ in $(seq 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
    kill "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
  done
  wineserver -k >/dev/null 2>&1 || true
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  unset XVFB_PID
done

# The system timer periods asked for during a few seconds of spiral: Wine's relay trace of the two calls only.
start_private_xvfb 1024x768x24
wine_run reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'winmm.timeBeginPeriod;winmm.timeEndPeriod' /f >/dev/null 2>&1
WINEDEBUG=-all,+relay wine_run "$work/run/whorlix.scr" /s >/dev/null 2>"$work/relay.txt" &
runner=$!
sleep 5
xdotool key space >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
kill "$runner" 2>/dev/null || true
wait "$runner" 2>/dev/null || true
wine_run reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1
echo
echo "timeBeginPeriod calls: $(grep -c 'Call winmm.timeBeginPeriod' "$work/relay.txt" || true), timeEndPeriod calls: $(grep -c 'Call winmm.timeEndPeriod' "$work/relay.txt" || true)"
