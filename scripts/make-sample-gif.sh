#!/usr/bin/env bash
# Draws the sample character, a ball that bounces in eight frames, as a GIF.
# usage: make-sample-gif.sh OUTPUT.gif
set -euo pipefail
out=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
frames=()
for i in 0 1 2 3 4 5 6 7; do
  # Height of the ball over the ground: a parabola over the eight frames.
  y=$((8 + (i - 4) * (i - 4) * 3))
  /usr/bin/convert -size 64x72 xc:none -fill '#2060e0' -stroke '#102040' -strokewidth 2 \
    -draw "circle 32,$((y + 20)) 32,$((y + 2))" -fill white -stroke none \
    -draw "circle 25,$((y + 14)) 25,$((y + 10))" "$tmp/f$i.png"
  frames+=("$tmp/f$i.png")
done
/usr/bin/convert -delay 10 -dispose Background -loop 0 "${frames[@]}" "$out"
