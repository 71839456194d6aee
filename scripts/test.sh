#!/usr/bin/env bash
# Set-up and every test: installs what is missing, then builds and runs
#   1. all tests (core, command line, fuzz corpus replays, and the desktop
#      program's widget tests on Qt's offscreen platform, its start under
#      xvfb-run and its installation) with g++,
#   2. the core tests and replays again under AddressSanitizer and
#      UndefinedBehaviorSanitizer (any report fails the run),
#   3. each libFuzzer target (clang) for a bounded time on its seed corpus,
#   4. the Windows build (mingw-w64): its tests, the desktop program's dialogs
#      (with screenshots in build-win/screenshots) and its installer under
#      wine on an X server of xvfb-run, the installer and the portable zip
#      with their sizes, and a check that the random-image conversions give
#      the same bytes as on Linux (ARK_WINDOWS=0 leaves this stage out).
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
  echo "== Windows build (mingw-w64), tests, dialogs and installer under wine"
  export WINEPREFIX=${WINEPREFIX:-$PWD/build-win/wine} WINEDEBUG=-all
  # Its tests read the samples that the release build wrote (build/samples).
  cmake --preset win >/dev/null
  cmake --build --preset win -j"$jobs"
  # wine's first start sets up its prefix; done once, outside the timed tests.
  # The dialogs use Windows' dialog face, Tahoma (wine's own), which reaches
  # Japanese letters through a font link as on Windows; wine draws the
  # windows' frames itself, so that the screenshots show the title bars.
  if [ ! -f "$WINEPREFIX/arkleton-prefix" ]; then
    wineboot -i >/dev/null 2>&1
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf /usr/share/wine/fonts/marlett.ttf \
      "$WINEPREFIX/drive_c/windows/Fonts/"
    for face in Tahoma "Tahoma Bold"; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
        /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
    done
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/arkleton-prefix"
  fi
  digests=$PWD/build-win/digests shots=$PWD/build-win/screenshots
  rm -rf "$digests" "$shots" && mkdir -p "$digests/linux" "$digests/windows" "$shots"
  ARK_DIGEST_DIR=$(winepath -w "$digests/windows") ARK_SCREENSHOT_DIR=$(winepath -w "$shots") \
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win
  (cd build-win && cpack >/dev/null)
  for package in build-win/arkleton-*-setup.exe build-win/arkleton-*-win64.zip; do
    echo "$(basename "$package"): $(stat -c %s "$package") bytes"
  done
  echo "Screenshots of the Windows dialogs: $(ls "$shots" | wc -l) in build-win/screenshots"
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
