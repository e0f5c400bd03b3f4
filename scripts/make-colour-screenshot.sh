#!/usr/bin/env bash
# Makes docs/saver-colours.png: one photo tagged with a Display P3 profile, as a phone stores it, shown by the running
# saver with its profile ignored (left: the stored numbers taken as sRGB, as before pictures were colour-managed) and
# converted from its profile (right). The photo is generated here from fixed seeds, saturated as a sunset and
# flowers are; the profile is the tests' (make_profiles of the native tree). Needs a build (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
export WINEPREFIX=$build/win/wineprefix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$build/native/rig/make_profiles" "$tmp"
convert -size 1024x480 gradient:'#ff2a00'-'#ffd000' \( -size 1024x288 -seed 11 plasma:'#e0004a'-'#00c040' \) -append \
  -profile "$tmp/p3.icc" -sampling-factor 1x1 -quality 95 "$tmp/tagged.jpg"
# The same file with the first chunk's sequence number 0: a profile the saver does not use.
offset=$(grep -obUaP 'ICC_PROFILE\x00' "$tmp/tagged.jpg" | head -n 1 | cut -d: -f1)
cp "$tmp/tagged.jpg" "$tmp/ignored.jpg"
printf '\000' | dd of="$tmp/ignored.jpg" bs=1 seek=$((offset + 12)) conv=notrunc status=none

. "$root/scripts/xvfb.sh"
start_private_xvfb 1024x768x24
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/run"
cp "$build/win/whorlix.scr" "$tmp/run/whorlix.scr"
user=$("$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r\n')
pixel() { import -window root -depth 8 -crop 1x1+500+100 -format '%[hex:p{0,0}]' info:- 2>/dev/null || true; }
for photo in ignored tagged; do
  winpath="Z:$(printf '%s' "$tmp/$photo.jpg" | tr / '\\')"
  printf '[%s]\r\nSpiralTime=0\r\nPictureTime=100\r\nPictureFile=%s\r\n' "$user" "$winpath" >"$tmp/run/whorlix.ini"
  "$root/scripts/wine-run.sh" "$WINEPREFIX" "$tmp/run/whorlix.scr" /s &
  pid=$!
  # The loading screen's built-in picture first, then the photo's orange sky at (500, 100).
  for _ in $(seq 1200); do
    case $(pixel) in ff*) break ;; esac
    sleep 0.1
  done
  sleep 1
  import -window root "$tmp/$photo.png"
  xdotool key space
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  wait "$pid" || true
done
convert "$tmp/ignored.png" "$tmp/tagged.png" -resize 512x384 +append "$root/docs/saver-colours.png"
echo "docs/saver-colours.png written"
