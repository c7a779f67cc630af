#!/usr/bin/env bash
# Runs every test on a fresh Debian machine: installs what is missing, builds
# the native tests with g++ under the address and undefined-behaviour
# sanitizers and runs them, builds everything with clang and runs the fuzz
# targets for a bounded time, builds the Windows player, and runs the
# end-to-end tests under Wine. The last line is the total over every stage:
# "N passed, N failed". Exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fuzz_seconds=${ZEPHLET_FUZZ_SECONDS:-60}

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
ok() { echo "PASS $1"; passed=$((passed + 1)); }
bad() { echo "FAIL $1"; failed=$((failed + 1)); }
section() { printf '\n=== %s ===\n' "$1"; }

# Adds the counts of a ctest log ("...tests passed, N tests failed out of M").
count_ctest() {
  local line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then bad "$2 (no test summary)"; return; fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

# Runs ctest in a build folder (extra arguments go to ctest) and adds its counts.
run_ctest() {
  local dir=$1 name=$2
  shift 2
  ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure --timeout 900 "$@" 2>&1 |
    tee "build/logs/$name-ctest.log" |
    grep -vE '^ *([0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|Start +[0-9]+:)'
  count_ctest "build/logs/$name-ctest.log" "$name.ctest"
}

mkdir -p build/logs

section "native build (g++, address and undefined-behaviour sanitizers)"
if cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=g++ -DZEPHLET_SANITIZE=ON >/dev/null &&
  ninja -C build/native; then
  ok native.build
  section "native tests"
  run_ctest build/native native
else
  bad native.build
fi

section "thread tests under the thread sanitizer (clang)"
if cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DZEPHLET_TSAN=ON >/dev/null &&
  targets=$(ctest --test-dir build/native -L threads -N -V 2>/dev/null |
    sed -nE 's|.*Test command: .*/([^/ ]+)( .*)?$|\1|p' | sort -u) &&
  [ -n "$targets" ] && ninja -C build/tsan $targets; then
  ok tsan.build
  run_ctest build/tsan tsan -L threads
else
  bad tsan.build
fi

section "clang build with the fuzz targets"
if cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DZEPHLET_SANITIZE=ON -DZEPHLET_FUZZ=ON >/dev/null &&
  ninja -C build/clang; then
  ok clang.build
  section "fuzzing (${fuzz_seconds}s per target)"
  # Each fuzz target has a run script: fuzz/NAME/run_NAME_fuzzer.sh BUILD_DIR SECONDS.
  for runner in fuzz/*/run_*_fuzzer.sh; do
    name=$(basename "$runner" .sh)
    name=${name#run_}
    if sh "$runner" "$root/build/clang" "$fuzz_seconds" >"build/logs/$name.log" 2>&1; then
      ok "fuzz.$name ($(grep -Eo 'Done [0-9]+ runs' "build/logs/$name.log" | tail -n 1))"
    else
      bad "fuzz.$name"
      tail -n 40 "build/logs/$name.log"
    fi
  done
else
  bad clang.build
fi

section "Windows build"
source scripts/wine-env.sh
if cmake -S . -B build/win-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null &&
  ninja -C build/win-i686; then
  ok windows.build.i686
else
  bad windows.build.i686
fi

section "end-to-end tests under Wine ($WINE_ARCH)"
if [ "$WINE_ARCH" = i686 ] || build_windows "$root"; then
  win_dir=build/win-$WINE_ARCH
  bash tests/e2e/run_e2e.sh "$root/$win_dir" "$root/build/native/tools/pack/zephlet-pack" \
    "$root/build/e2e" 2>&1 | tee build/logs/e2e.log
  line=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed' build/logs/e2e.log | tail -n 1)
  if [ -n "$line" ]; then
    passed=$((passed + $(sed -E 's/e2e: ([0-9]+) passed.*/\1/' <<<"$line")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$line")))
  else
    bad e2e
  fi
else
  bad "windows.build.$WINE_ARCH"
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
