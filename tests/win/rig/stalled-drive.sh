#!/usr/bin/env bash
# stalled-drive.sh STALL_FS PROGRAM [ARGS...]: runs a Windows test program with a drive that stops answering on request
# (stall_fs.c) mounted for it, in the session's Wine prefix. The program finds it through three Unix paths:
# WHORLIX_STALL_MOUNT (the mounted folder), WHORLIX_STALL_BACKING (the folder it shows) and WHORLIX_STALL_CONTROL
# (the file whose word says what it leaves unanswered). Whatever happens, the drive answers again before it goes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
stall_fs=$1
shift
rig=$(mktemp -d)
mkdir "$rig/backing" "$rig/mount"
: >"$rig/control"
"$stall_fs" "$rig/backing" "$rig/control" "$rig/mount" -f 2>/dev/null &
fs=$!
cleanup() {
  : >"$rig/control"
  sleep 0.2
  fusermount3 -u "$rig/mount" 2>/dev/null || umount -l "$rig/mount" 2>/dev/null || true
  kill "$fs" 2>/dev/null || true
  wait "$fs" 2>/dev/null || true
  rm -rf "$rig"
}
trap cleanup EXIT
for _ in $(seq 100); do mountpoint -q "$rig/mount" && break; sleep 0.05; done
mountpoint -q "$rig/mount" || { echo "stalled-drive.sh: the drive did not mount" >&2; exit 1; }
export WHORLIX_STALL_MOUNT=$rig/mount WHORLIX_STALL_BACKING=$rig/backing WHORLIX_STALL_CONTROL=$rig/control
"$root/scripts/wine-run.sh" "$WINEPREFIX" "$@"
