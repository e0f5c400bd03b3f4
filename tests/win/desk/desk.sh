#!/usr/bin/env bash
# desk.sh HEADS STANDIN_DIR PROGRAM [ARGS...]: runs a Windows test program on a desk of several monitors
# (scripts/desk.sh says how the desk is made).
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
. "$root/scripts/desk.sh"
start_desk_session "$1" "$2"
shift 2
"$root/scripts/wine-run.sh" "$WINEPREFIX" "$@"
