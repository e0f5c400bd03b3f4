#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and runs every test through CTest
# (Windows tests under Wine on a private Xvfb, in the build's own Wine prefix, with code page 932).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
. "$root/scripts/xvfb.sh"
start_private_xvfb 1024x768x24
export WINEPREFIX=$build/win/wineprefix
cleanup() { wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT
# One Wine server for the whole run (tests start many short Windows processes), and the prefix created
# once, before the tests.
mkdir -p "$WINEPREFIX"
WINEDEBUG=-all wineserver -p 2>/dev/null || true
"$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
cd "$build/win"
ctest --output-on-failure -j 2 "$@"
