#!/usr/bin/env bash
# bench/pace.sh [SCR]: the pace a person sees, from outside. Runs whorlix.scr /s (the build's, or the one given) under
# Wine on a private Xvfb at 1024 x 768 and at 1920 x 1080, with a folder of three 12 MP photos (SpiralTime 3,
# PictureTime 2), and watches the screen's centre with bench/screen_watch.c --pace: the median time between visible
# spiral changes at Speed 11 (31 ms a frame; also at Speed 0, 20 ms, at 1024 x 768), and the standstill of the
# spiral before each picture. Run after scripts/build.sh; the watcher needs libx11-dev (scripts/deps.sh installs it).
# WHORLIX_PACE_PROFILE=FILE.icc tags the photos with that colour profile (one APP2 chunk), so that each is converted
# to the monitor's colours too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
seconds=${WHORLIX_PACE_SECONDS:-40}
. "$root/bench/watch_session.sh"
mkdir -p "$work/photos"
photo=$build/win/tests/win/saver_fixtures/noisy4032x3024.jpg
profile=${WHORLIX_PACE_PROFILE:-}
for n in 1 2 3; do
  if [ -n "$profile" ]; then
    length=$(($(stat -c %s "$profile") + 16))
    {
      head -c 2 "$photo"
      printf "\\377\\342\\$(printf %03o $((length >> 8)))\\$(printf %03o $((length & 255)))ICC_PROFILE\\000\\001\\001"
      cat "$profile"
      tail -c +3 "$photo"
    } >"$work/photos/photo$n.jpg"
  else
    cp "$photo" "$work/photos/photo$n.jpg"
  fi
done

median() { sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]; else print "-"}'; }
for run in "1024x768 11" "1024x768 0" "1920x1080 11"; do
  read -r size speed <<<"$run"
  start_private_xvfb "${size}x24"
  "$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
  user=$("$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r\n')
  folder="Z:$(printf '%s' "$work/photos" | tr / '\\')"
  printf '[%s]\r\nSpeed=%s\r\nSpiralTime=3\r\nPictureTime=2\r\nPictureFile=%s\r\n' "$user" "$speed" "$folder" \
    >"$work/run/whorlix.ini"
  "$work/screen_watch" --pace "$seconds" >"$work/pace.txt" &
  watch_pid=$!
  "$root/scripts/wine-run.sh" "$WINEPREFIX" "$work/run/whorlix.scr" /s >/dev/null 2>&1 &
  saver_pid=$!
  wait "$watch_pid" || true
  xdotool key space >/dev/null 2>&1 || true
  for _ in $(seq 100); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  unset XVFB_PID
  printf '%s, Speed %s (%s ms a frame): median visible spiral interval %s ms over %s changes; standstill before each picture (ms): %s\n' \
    "$size" "$speed" "$((speed + 20))" "$(grep '^interval' "$work/pace.txt" | cut -d' ' -f2 | median)" \
    "$(grep -c '^interval' "$work/pace.txt")" "$(grep '^standstill' "$work/pace.txt" | cut -d' ' -f2 | tr '\n' ' ')"
done
