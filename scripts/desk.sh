#!/usr/bin/env bash
# Sourced: start_desk_session HEADS STANDIN_DIR sets up a desk of several monitors for Windows programs under Wine.
# HEADS lists the monitors as "WxH+X+Y" separated by commas, in X screen coordinates, the primary first. The desk is
# a private Xvfb screen the size of the heads' bounding box, whose heads Wine takes from the Xinerama stand-in in
# STANDIN_DIR (tests/win/desk/xinerama_standin.c; XRandR is off in the desk's own Wine prefix). Exports DISPLAY,
# WINEPREFIX, LD_LIBRARY_PATH and WHORLIX_DESK_HEADS (programs may read the heads there); the EXIT trap ends the Wine
# server and Xvfb again. Needs $root and $build.
start_desk_session() {
  local heads=$1 standin=$2 width=0 height=0 head w h x y value
  local -a list
  IFS=, read -ra list <<<"$heads"
  for head in "${list[@]}"; do
    IFS='x+' read -r w h x y <<<"$head"
    width=$((x + w > width ? x + w : width)) height=$((y + h > height ? y + h : height))
  done
  . "$root/scripts/xvfb.sh"
  start_private_xvfb "${width}x${height}x24"
  export WINEPREFIX=$build/win/wineprefix-desk LD_LIBRARY_PATH=$standin WHORLIX_DESK_HEADS=$heads WINEDEBUG=-all
  trap 'wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
  # Every desk gets a Wine server of its own: the monitors are read when the server's desktop starts.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.whorlix-desk" ]; then
    "$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
    # Monitors from Xinerama, not XRandR; and no window manager to wait for when a window goes.
    for value in UseXRandR Managed; do
      "$root/scripts/wine-run.sh" "$WINEPREFIX" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /d N /f >/dev/null 2>&1
    done
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.whorlix-desk"
  fi
}
