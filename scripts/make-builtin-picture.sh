#!/usr/bin/env bash
# Makes res/builtin.jpg, the picture behind the loading screen: a 640 x 480 baseline JFIF landscape
# (sky, distant hills, a lake) generated from fixed seeds, so the same file comes out every time.
set -euo pipefail
cd "$(dirname "$0")/../res"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Sky: a vertical gradient with soft plasma clouds.
convert -size 640x300 gradient:'#5b8fd6'-'#dbe9f7' "$tmp/sky.png"
convert -size 640x300 -seed 11 plasma:white-'#8fb3e0' -blur 0x6 -colorspace gray -level 45%,100% "$tmp/clouds.png"
convert "$tmp/sky.png" "$tmp/clouds.png" -compose screen -composite "$tmp/sky2.png"
# Hills: plasma texture masked by a wavy ridge line.
convert -size 640x480 -seed 23 plasma:'#3d6b35'-'#1f3b1c' -blur 0x1 "$tmp/hills.png"
convert -size 640x480 xc:black -fill white -draw "path 'M 0,300 C 120,210 220,260 320,230 C 420,200 520,270 640,240 L 640,480 L 0,480 Z'" -blur 0x1.5 "$tmp/mask.png"
# Lake: reflected sky in the lower part.
convert "$tmp/sky2.png" -flip -resize 640x130\! -modulate 80,90 -seed 5 -attenuate 0.3 +noise Gaussian -motion-blur 0x8+0 "$tmp/lake.png"
convert -size 640x480 xc:'#2a4a2a' "$tmp/sky2.png" -geometry +0+0 -composite "$tmp/base.png"
convert "$tmp/base.png" "$tmp/hills.png" "$tmp/mask.png" -composite "$tmp/land.png"
convert "$tmp/land.png" "$tmp/lake.png" -geometry +0+350 -composite -unsharp 0x1 "$tmp/final.png"
convert "$tmp/final.png" -strip -interlace none -sampling-factor 2x2 -quality 92 -define jpeg:optimize-coding=true \
    JPEG:builtin.jpg
identify builtin.jpg
