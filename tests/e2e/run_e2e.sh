#!/usr/bin/env bash
# End-to-end tests: the Windows player under Wine on a virtual X display.
# usage: run_e2e.sh WINDOWS_BUILD_DIR PACKER OUTPUT_DIR
# Prints one line per case and closes with "e2e: N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
win_build=$1
packer=$2
out=$3
mkdir -p "$out"
work=$(mktemp -d /tmp/zephlet-e2e-XXXXXX)
export WINEPREFIX=$work/prefix
passed=0
failed=0
pass() { echo "PASS e2e.$1"; passed=$((passed + 1)); }
fail() { echo "FAIL e2e.$1: $2"; failed=$((failed + 1)); }

cleanup() {
  "${WINE_BIN%/*}/wineserver" -k >/dev/null 2>&1 || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

start_display
timeout 300 "$WINE_BIN" wineboot -i >/dev/null 2>&1
"${WINE_BIN%/*}/wineserver" -w 2>/dev/null || true

leftovers() { find "$WINEPREFIX/drive_c/users" -iname 'zep*' 2>/dev/null; }

player=$work/zephlet.exe
cp "$win_build/src/player/zephlet.exe" "$player"

# Runs a player file to its end; fails the case when it does not end by itself.
run_to_end() {
  local name=$1 exe=$2
  timeout 120 "$WINE_BIN" "$exe" >"$work/$name.log" 2>&1
  local rc=$?
  if [ $rc -eq 124 ]; then fail "$name" "did not end by itself"; return 1; fi
  if [ -n "$(leftovers)" ]; then fail "$name" "left temporary files: $(leftovers)"; return 1; fi
  return 0
}

# 1. The bare player: no payload, its last four bytes are zero.
if [ "$(tail -c 4 "$player" | od -An -tx1 | tr -d ' \n')" != "00000000" ]; then
  fail bare_player_ends_in_zero_length "last four bytes are not zero"
elif run_to_end bare_player "$player"; then
  pass bare_player_ends_quietly
fi

# 2. A packed player whose GIF is empty.
printf '[Move]\r\nMode=Hor\r\n' >"$work/empty.ini"
: >"$work/empty.gif"
if ! "$packer" --player "$player" --settings "$work/empty.ini" --gif "$work/empty.gif" \
  --output "$work/emptygif.exe"; then
  fail empty_gif "the packer failed"
elif run_to_end empty_gif "$work/emptygif.exe"; then
  pass empty_gif_ends_quietly
fi

# 3. A settings length larger than the file: the error is shown, then the player ends.
cp "$player" "$work/broken.exe"
truncate -s -4 "$work/broken.exe"
printf '\377\377\377\177' >>"$work/broken.exe"
timeout 120 "$WINE_BIN" "$work/broken.exe" >"$work/broken.log" 2>&1 &
pid=$!
wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zephlet$' 2>/dev/null | head -n 1)
if [ -z "$wid" ]; then
  fail stream_read_error "no message box appeared"
  kill "$pid" 2>/dev/null
else
  import -window root "$out/stream-read-error.png" 2>/dev/null || true
  xdotool windowactivate --sync "$wid" key Return >/dev/null 2>&1 || xdotool key --window "$wid" Return >/dev/null 2>&1
  if ! wait "$pid"; then
    fail stream_read_error "did not end after the message"
  elif [ -n "$(leftovers)" ]; then
    fail stream_read_error "left temporary files: $(leftovers)"
  else
    pass stream_read_error_is_shown_then_ends
  fi
fi

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
