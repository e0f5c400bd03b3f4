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
# Create the prefix once, before the tests, and keep one Wine server for the whole run.
"$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1 || true
WINEDEBUG=-all wineserver -p
cd "$build/win"
ctest --output-on-failure -j 2 "$@"
