#!/usr/bin/env bash
# Set-up and every test: installs what is missing, then builds and runs
#   1. all tests (core, command line, fuzz corpus replays, and the desktop
#      program's widget tests on Qt's offscreen platform, its start under
#      xvfb-run and its installation) with g++,
#   2. the core tests and replays again under AddressSanitizer and
#      UndefinedBehaviorSanitizer (any report fails the run),
#   3. each libFuzzer target (clang) for a bounded time on its seed corpus,
#   4. the Windows build (mingw-w64) and its tests under wine, and a check
#      that the random-image conversions give the same bytes as on Linux
#      (ARK_WINDOWS=0 leaves this stage out).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${ARK_FUZZ_SECONDS:-30}

scripts/ensure-deps.sh

# Each stage builds one configuration of CMakePresets.json (build folders
# build, build-san, build-fuzz, build-win); CMAKE_C_COMPILER_LAUNCHER and
# CMAKE_CXX_COMPILER_LAUNCHER in the environment (ccache) reach every one.
echo "== Build and test (g++)"
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
ctest --preset release -j"$jobs"

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake --preset san >/dev/null
cmake --build --preset san -j"$jobs"
ctest --preset san -j"$jobs"

echo "== libFuzzer targets, ${fuzz_seconds}s each"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
fuzz_failed=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds=fuzz/corpus/$name
  [ -d "$seeds" ] || seeds=
  if "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$work/" "$work" $seeds >"$work/log" 2>&1; then
    echo "$name: no crash in ${fuzz_seconds}s ($(grep -c '^#' "$work/log" || true) status lines)"
  else
    echo "$name: FAILED"; tail -n 40 "$work/log"; fuzz_failed=1
  fi
  rm -rf "$work"
done
[ "$fuzz_failed" -eq 0 ] || exit 1

nwin=0
if [ "${ARK_WINDOWS:-1}" != 0 ]; then
  echo "== Windows build (mingw-w64) and tests under wine"
  export WINEPREFIX=${WINEPREFIX:-$PWD/build-win/wine} WINEDEBUG=-all
  # Its tests read the samples that the release build wrote (build/samples).
  cmake --preset win >/dev/null
  cmake --build --preset win -j"$jobs"
  # wine's first start sets up its prefix; done once, outside the timed tests.
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  digests=$PWD/build-win/digests
  rm -rf "$digests" && mkdir -p "$digests/linux" "$digests/windows"
  ARK_DIGEST_DIR=$(winepath -w "$digests/windows") ctest --preset win
  ARK_DIGEST_DIR=$digests/linux build/tests/core_tests --gtest_filter='*Random*:CodePage.*' --gtest_brief=1 >/dev/null
  if [ -z "$(ls "$digests/linux")" ] || ! diff -r "$digests/linux" "$digests/windows"; then
    echo "The Windows build converts random images or code pages differently from the Linux build"; exit 1
  fi
  echo "Digests agree: $(ls "$digests/linux" | tr '\n' ' ')"
  nwin=$(( $(ctest --preset win -N | awk '/Total Tests:/ {print $3}') + 1 ))
fi

# The closing line counts every test of the runs above (the digest check as one).
total=$(ctest --preset release -N | awk '/Total Tests:/ {print $3}')
san=$(ctest --preset san -N | awk '/Total Tests:/ {print $3}')
nfuzz=$(ls build-fuzz/fuzz/fuzz_* 2>/dev/null | grep -c . || true)
echo "$((total + san + nfuzz + nwin)) passed, 0 failed"
