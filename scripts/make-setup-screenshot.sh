#!/usr/bin/env bash
# Makes docs/setup-welcome.png and docs/setup-welcome-english.png: the first page of whorlix-setup.exe under
# the Japanese code page and under a Western one (WHORLIX_LOCALE, as scripts/run.sh takes it), each in the
# build's prefix for that locale. Needs a build (scripts/build.sh). Nothing is installed: the setup is ended
# on its first page.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
. "$root/scripts/xvfb.sh"
start_private_xvfb 1024x768x24
trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
for locale in ja_JP.UTF-8 C.UTF-8; do
  prefix=$build/win/wineprefix out=$root/docs/setup-welcome.png
  if [ "$locale" != ja_JP.UTF-8 ]; then
    prefix=$prefix-$(printf '%s' "$locale" | tr -c 'A-Za-z0-9' '_') out=$root/docs/setup-welcome-english.png
  fi
  # A new prefix is made first: its set-up shows windows of its own.
  WHORLIX_LOCALE=$locale "$root/scripts/wine-run.sh" "$prefix" cmd /c exit >/dev/null 2>&1 || true
  WHORLIX_LOCALE=$locale "$root/scripts/wine-run.sh" "$prefix" explorer /desktop=setup,1024x768 \
    "$build/win/whorlix-setup.exe" &
  pid=$!
  # The page is drawn once its title is: wait until the screen holds more than the desktop's one colour.
  for _ in $(seq 300); do
    [ "$(convert x:root -format '%k' info: 2>/dev/null || echo 1)" -gt 100 ] && break
    sleep 0.1
  done
  sleep 2
  # The desktop's own colour around the window is cut away.
  import -window root -trim +repage "$out"
  WINEPREFIX=$prefix wineserver -k
  wait "$pid" || true
  echo "$out written"
done
