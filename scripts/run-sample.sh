#!/usr/bin/env bash
# Builds the player, packs the sample character into it and runs it under Wine:
# on the current X display when there is one (the player runs until you exit
# it), else on a private virtual display, where a screenshot is saved and the
# player is ended after a few seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
source scripts/wine-env.sh

cmake -S . -B build/tools -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEPHLET_TESTS=OFF >/dev/null
ninja -C build/tools zephlet-pack
build_windows "$root"

out=build/sample
mkdir -p "$out"
bash scripts/make-sample-gif.sh "$out/character.gif"
build/tools/tools/pack/zephlet-pack --player "$WIN_BUILD/src/player/zephlet.exe" \
  --settings assets/sample/character.ini --gif "$out/character.gif" --output "$out/sample.exe"

export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
private_display=no
[ -z "${DISPLAY:-}" ] && private_display=yes
start_display
trap stop_display EXIT
"$WINE_BIN" wineboot -i >/dev/null 2>&1 || true

echo "Running $out/sample.exe on display $DISPLAY"
"$WINE_BIN" "$out/sample.exe" &
pid=$!
if [ "$private_display" = yes ]; then
  sleep 8
  import -window root "$out/screenshot.png"
  echo "Screenshot: $root/$out/screenshot.png"
  kill "$pid" 2>/dev/null || true
  "${WINE_BIN%/*}/wineserver" -k 2>/dev/null || true
else
  wait "$pid"
fi
