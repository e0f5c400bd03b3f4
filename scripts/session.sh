#!/usr/bin/env bash
# Sourced by the run and test commands; both set $root and $build first.

# Installs what is missing and builds both trees.
install_and_build() {
  "$root/scripts/deps.sh"
  "$root/scripts/build.sh"
}

# Starts a private Xvfb of the given size with the build's Wine prefix ready and one Wine server kept up for
# the whole session (tests start many short Windows processes). Exports DISPLAY, XVFB_PID and WINEPREFIX; the
# EXIT trap stops the server and Xvfb again.
start_wine_session() {
  . "$root/scripts/xvfb.sh"
  start_private_xvfb "$1"
  export WINEPREFIX=$build/win/wineprefix
  trap 'wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=-all wineserver -p 2>/dev/null || true
  # The prefix is created once, before anything runs in it.
  "$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
}
