#!/usr/bin/env bash
# Sourced: starts a private Xvfb on a free display, exports DISPLAY and XVFB_PID.
start_private_xvfb() {
  local size=${1:-1024x768x24} n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n" XVFB_PID
    for _ in $(seq 100); do
      # Ours must be the server that answers: one started at the same moment may have taken the number.
      xdpyinfo >/dev/null 2>&1 && sleep 0.2 && kill -0 "$XVFB_PID" 2>/dev/null && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    # It never answered: stop it before trying the next display, so none is left running.
    kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
  done
  unset XVFB_PID
  echo "could not start Xvfb" >&2
  return 1
}
