#!/usr/bin/env bash
# Makes docs/saver-picture.png: the running saver in a picture phase showing a photo of our own. The photo is
# generated here from fixed seeds: a 3024 x 4032 portrait (a phone's 12 MP) stored sideways, as phones store
# portraits, with the camera's Exif orientation 6 saying how to turn it. Needs a build (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
export WINEPREFIX=$build/win/wineprefix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The upright scene: evening sky, a ridge of hills, a lake in front.
convert -size 3024x2600 gradient:'#3f6fb8'-'#f3c98b' "$tmp/sky.png"
convert -size 756x650 -seed 41 plasma:white-'#c08060' -blur 0x3 -colorspace gray -level 50%,100% \
  -resize 3024x2600\! "$tmp/clouds.png"
convert "$tmp/sky.png" "$tmp/clouds.png" -compose screen -composite "$tmp/sky2.png"
convert -size 756x1008 -seed 43 plasma:'#35602f'-'#16301a' -blur 0x1 -modulate 100,35 -fill '#2f5a2a' -tint 60 \
  -resize 3024x4032\! "$tmp/hills.png"
convert -size 3024x4032 xc:black -fill white \
  -draw "path 'M 0,2300 C 600,1700 1100,2100 1600,1900 C 2100,1700 2500,2200 3024,2000 L 3024,4032 L 0,4032 Z'" \
  -blur 0x4 "$tmp/mask.png"
convert "$tmp/sky2.png" -flip -resize 3024x1232\! -modulate 75,90 -motion-blur 0x20+0 "$tmp/lake.png"
convert -size 3024x4032 xc:'#243f24' "$tmp/sky2.png" -geometry +0+0 -composite "$tmp/base.png"
convert "$tmp/base.png" "$tmp/hills.png" "$tmp/mask.png" -composite "$tmp/land.png"
convert "$tmp/land.png" "$tmp/lake.png" -geometry +0+2800 -composite -seed 47 -attenuate 0.25 +noise Gaussian \
  "$tmp/upright.png"
# Stored sideways: turning it a quarter clockwise shows it upright, which is what orientation 6 says.
convert "$tmp/upright.png" -rotate -90 -strip -interlace none -quality 90 "$tmp/stored.jpg"
# Exif block (big-endian TIFF, one directory entry: Orientation, SHORT, 1, value 6) put right after the start
# marker.
{
  head -c 2 "$tmp/stored.jpg"
  printf '\377\341\000\042Exif\000\000MM\000\052\000\000\000\010\000\001\001\022\000\003\000\000\000\001\000\006\000\000\000\000\000\000'
  tail -c +3 "$tmp/stored.jpg"
} >"$tmp/photo.jpg"
identify "$tmp/photo.jpg"

run=$tmp/run
mkdir -p "$run"
cp "$build/win/whorlix.scr" "$run/whorlix.scr"
. "$root/scripts/xvfb.sh"
start_private_xvfb 1024x768x24
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$tmp"' EXIT
user=$("$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r\n')
winpath="Z:$(printf '%s' "$tmp/photo.jpg" | tr / '\\')"
# A picture phase from the first frame on, long enough to take the picture.
printf '[%s]\r\nSpiralTime=0\r\nPictureTime=100\r\nPictureFile=%s\r\n' "$user" "$winpath" >"$run/whorlix.ini"
"$root/scripts/wine-run.sh" "$WINEPREFIX" "$run/whorlix.scr" /s &
pid=$!
# The portrait is fitted between black bars: wait for the loading screen's sky at (40, 40) (the screen is black
# before the saver shows), then for the left bar there.
pixel() { import -window root -depth 8 -crop 1x1+40+40 -format '%[hex:p{0,0}]' info:- 2>/dev/null || true; }
for want in sky bar; do
  for _ in $(seq 1200); do
    px=$(pixel)
    if [ "$want" = sky ] && [ -n "$px" ] && [ "$px" != 000000 ]; then break; fi
    if [ "$want" = bar ] && [ "$px" = 000000 ]; then break; fi
    sleep 0.1
  done
done
sleep 1
import -window root "$tmp/shot.png"
convert "$tmp/shot.png" -resize 512x384 "$root/docs/saver-picture.png"
xdotool key space
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
wait "$pid" || true
echo "docs/saver-picture.png written"
