#!/usr/bin/env bash
# Writes a small seed corpus of player files into the folder given.
set -euo pipefail
out=$1
mkdir -p "$out"
printf '\0\0\0\0' > "$out/bare"
seed() {  # name, pieces, settings text
  local name=$1 pieces=$2 text=$3 n
  n=$(printf '%b' "$text" | wc -c)
  { printf 'MZprogram'; printf '%b' "$pieces"; printf '%b' "$text";
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((n & 255)) $((n >> 8 & 255)) 0 0)"; } > "$out/$name"
}
seed settings '' '[Move]\r\nMode=Hor\r\nSpeed=0x19\r\n[Menu]\r\nUrl=http://a/\r\n'
seed gif 'GIF89a\001\000\001\000\000\000\000;' '[Gif]\r\nGifSize=14\r\n'
seed regions 'RRRRGIF89a\001\000\001\000\000\000\000;' '[Gif]\r\nGifSize=14\r\n[Rgn]\r\nRgnAllSize=4\r\nRgnNum=2\r\nRgn0=3\r\nRgn1=9\r\n'
seed sounds 'SSMMMGIF89a\001\000\001\000\000\000\000;' '[Gif]\r\nGifSize=14\r\n[Sound]\r\nOtherSnd=1\r\nSndSize=2\r\nBGMusic=1\r\nBGMusicSize=3\r\nBGMusicExt=.mid\r\n'
