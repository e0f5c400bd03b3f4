#!/usr/bin/env bash
# The run command: installs what is missing, builds whorlix.scr and runs it under Wine.
#   scripts/run.sh            run mode (/s)
#   scripts/run.sh /c         any other mode: /c, /p HWND, /a HWND, ...
#   WHORLIX_LOCALE=C.UTF-8 scripts/run.sh /c   under a Western code page instead of the Japanese one: the
#                             settings dialog then shows its English face
#   WHORLIX_DPI=144 scripts/run.sh /c          at a display scaling of 150 % (120: 125 %, 192: 200 %)
#   WHORLIX_DESK=1024x768+0+0,800x600+1024+84 scripts/run.sh   on a private desk of several monitors ("WxH+X+Y" in
#                             X screen coordinates, the primary first; see scripts/desk.sh)
# With $DISPLAY set the saver shows there and ends on input as on Windows. Without it, a private Xvfb is
# used: screenshots go to build/screenshots/, and the run ends by itself after WHORLIX_RUN_SECONDS (default 20)
# seconds (run mode gets a key press, other modes are closed). Other modes than /s then run inside a Wine
# desktop window, so their dialogs show with frames and caption bars (Xvfb has no window manager).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
. "$root/scripts/session.sh"
install_and_build
export WINEPREFIX=$build/win/wineprefix
# Another locale gets a prefix of its own: Wine sets a prefix's font substitutes for the code page it was
# created under, so the dialogs look as they would on a Windows of that language.
[ -z "${WHORLIX_LOCALE:-}" ] || WINEPREFIX=$WINEPREFIX-$(printf '%s' "$WHORLIX_LOCALE" | tr -c 'A-Za-z0-9' '_')
rundir=$build/run
mkdir -p "$rundir"
cp "$build/win/whorlix.scr" "$rundir/whorlix.scr"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(/s)
saver_mode=false
[ "${args[0],,}" = "/s" ] && saver_mode=true

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$WINEPREFIX" "$rundir/whorlix.scr" "${args[@]}"
fi

if [ -n "${WHORLIX_DESK:-}" ]; then
  . "$root/scripts/desk.sh"
  start_desk_session "$WHORLIX_DESK" "$build/native/desk"
else
  start_wine_session 1024x768x24 "$WINEPREFIX"
fi
# WHORLIX_DPI (96, 120, 144, 192) runs at that display scaling; Wine gives it to the programs it starts next.
if [ -n "${WHORLIX_DPI:-}" ]; then
  "$root/scripts/wine-run.sh" "$WINEPREFIX" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$WHORLIX_DPI" /f >/dev/null 2>&1
else
  "$root/scripts/wine-run.sh" "$WINEPREFIX" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
fi
shots=$build/screenshots
mkdir -p "$shots"
if $saver_mode; then
  "$root/scripts/wine-run.sh" "$WINEPREFIX" "$rundir/whorlix.scr" "${args[@]}" &
else
  "$root/scripts/wine-run.sh" "$WINEPREFIX" explorer /desktop=whorlix,1024x768 "$rundir/whorlix.scr" "${args[@]}" &
fi
pid=$!
seconds=${WHORLIX_RUN_SECONDS:-20}
tag=$(printf '%s' "${args[0]}${WHORLIX_LOCALE:+_$WHORLIX_LOCALE}${WHORLIX_DPI:+_$WHORLIX_DPI}${WHORLIX_DESK:+_desk}" |
  tr -c 'A-Za-z0-9' '_')
# Screenshots early (the loading screen is short) and then now and again.
start=$(date +%s%N)
for at in 300 700 1500 3000 6000 10000 $((seconds * 1000)); do
  [ "$at" -le $((seconds * 1000)) ] || continue
  while kill -0 "$pid" 2>/dev/null && [ $(( ($(date +%s%N) - start) / 1000000 )) -lt "$at" ]; do sleep 0.05; done
  kill -0 "$pid" 2>/dev/null || break
  import -window root "$shots/run${tag}_$(printf '%05d' "$at")ms.png" 2>/dev/null || true
done
if kill -0 "$pid" 2>/dev/null; then
  if $saver_mode; then
    xdotool key space # any key ends the saver
  else
    # The dialog lives inside the Wine desktop window: focus that, then Escape cancels the dialog.
    desktop=$(xdotool search --name 'whorlix' 2>/dev/null | head -1 || true)
    [ -n "$desktop" ] && xdotool windowfocus "$desktop" 2>/dev/null || true
    xdotool key Escape
  fi
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
fi
if kill -0 "$pid" 2>/dev/null; then wineserver -k; fi
wait "$pid" && status=0 || status=$?
echo "whorlix.scr ${args[*]} ended with status $status; screenshots in $shots"
