#!/usr/bin/env bash
# Sourced by the benchmarks that watch the real saver from outside ($root and $build set): the saver to run ($1, or
# the build's) copied into $work/run, the screen watcher built into $work, the screen-test prefix, and an EXIT trap
# that ends Wine, the private Xvfb and the work folder.
scr=${1:-$build/win/whorlix.scr}
work=$(mktemp -d)
export WINEPREFIX=$build/win/wineprefix-screen
cc -O2 -o "$work/screen_watch" "$root/bench/screen_watch.c" -lX11
mkdir -p "$work/run"
cp "$scr" "$work/run/whorlix.scr"
. "$root/scripts/xvfb.sh"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
