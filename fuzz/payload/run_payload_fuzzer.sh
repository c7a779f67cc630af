#!/bin/sh
# Runs the payload fuzzer for a bounded time on a fresh corpus grown from the seeds.
#   fuzz/payload/run_payload_fuzzer.sh BUILD_DIR [SECONDS]
# BUILD_DIR is a fuzz build (clang, -DZEPHLET_FUZZ=ON -DZEPHLET_SANITIZE=ON).
set -eu
build=${1:?usage: run_payload_fuzzer.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$(mktemp -d "${TMPDIR:-/tmp}/payload-fuzz-corpus.XXXXXX")
seeds=$(mktemp -d "${TMPDIR:-/tmp}/payload-fuzz-seeds.XXXXXX")
trap 'rm -rf "$corpus" "$seeds"' EXIT
bash "$here/make_seeds.sh" "$seeds"
"$build/fuzz/payload/payload_fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
  -malloc_limit_mb=256 -max_len=16384 -print_final_stats=1 \
  -artifact_prefix="$build/fuzz/payload/" "$corpus" "$seeds"
