#!/usr/bin/env bash
# bench/loading-time.sh [WIDTHxHEIGHT] [RUNS]: how long the running saver shows its loading screen, seen from
# outside. Starts a private Xvfb of that size (default 3840x2160) with a black root, runs the built whorlix.scr /s
# under Wine in its own prefix, and watches the screen with bench/screen_watch.c: from the first look of the
# loading screen to the first spiral frame, in milliseconds. Prints one line per run. Run after scripts/build.sh;
# the watcher needs the X client headers (Debian package libx11-dev, which scripts/deps.sh installs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
size=${1:-3840x2160}
runs=${2:-3}
work=$(mktemp -d)
export WINEPREFIX=$build/win/wineprefix-screen
if ! cc -O2 -o "$work/screen_watch" "$root/bench/screen_watch.c" -lX11; then
  echo "loading-time.sh: cannot build the screen watcher (apt-get install libx11-dev)" >&2
  exit 2
fi

for n in $(seq 141 190); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 "${size}x24" -br -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# The prefix first, so its creation is not part of a run.
"$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
WINEDEBUG=-all wineserver -p 2>/dev/null || true

for run in $(seq "$runs"); do
  "$work/screen_watch" 60 >"$work/watch.txt" &
  watch_pid=$!
  "$root/scripts/wine-run.sh" "$WINEPREFIX" "$build/win/whorlix.scr" /s >/dev/null 2>&1 &
  saver_pid=$!
  wait "$watch_pid" || true
  echo "run $run ($size): $(tr '\n' ' ' <"$work/watch.txt")"
  # End the saver the way a user does, then make sure it is gone before the next run.
  xdotool key space >/dev/null 2>&1 || true
  for _ in $(seq 100); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
done
