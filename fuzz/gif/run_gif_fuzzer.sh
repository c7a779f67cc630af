#!/bin/sh
# Runs the GIF fuzzer for a bounded time on a fresh corpus grown from the generated seeds.
#   fuzz/gif/run_gif_fuzzer.sh BUILD_DIR [SECONDS]
# BUILD_DIR is a fuzz build (clang, -DZEPHLET_FUZZ=ON -DZEPHLET_SANITIZE=ON) in which the
# targets gif_fuzzer and gif_fuzz_corpus have been built.
set -eu
build=${1:?usage: run_gif_fuzzer.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
dir=$build/fuzz/gif
corpus=$(mktemp -d "${TMPDIR:-/tmp}/gif-fuzz-corpus.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
# The target lets one run allocate 4 Mpixel for the image and as much for its copy.
"$dir/gif_fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
  -malloc_limit_mb=64 -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$dir/" "$corpus" "$dir/seeds"
