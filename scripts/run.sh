#!/usr/bin/env bash
# Set-up and the main job: installs what is missing and builds (the release
# configuration of CMakePresets.json, in build/); then, when a display is
# there, starts the desktop program arkleton in the PX400 samples folder that
# the build wrote (build/samples/px400; its first start lists them). Without a
# display it says so, lists the sample models and converts every PX400 and
# PX200 sample into out/ with the command-line program (convert --all), with
# the controls each converted model has the pilot check.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"

samples=build/samples
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== Starting arkleton in $samples/px400 (close its window to end)"
  program=$PWD/build/arkleton
  cd "$samples/px400"
  exec "$program"
fi
echo "== No display (neither DISPLAY nor WAYLAND_DISPLAY is set): arkleton needs one."
echo "   The command-line program shows the same work instead."

cli=build/arkleton-cli
echo "== PX400 sample models ($samples/px400)"
"$cli" list "$samples/px400"
if [ -d "$samples/px200" ]; then
  echo "== PX200 sample models in $samples/px200/TINYFS.IMG"
  "$cli" list "$samples/px200"
fi

# Every sample model in one run per transmitter: one line per model (key,
# name, stored or refused, findings to check, messages), each followed by the
# must-check part of its report (arkleton-cli convert --all --report prints
# the whole report).
must_check() {
  awk -F'\t' 'NF >= 5 { keep = 0; print; next }
               /^[^ ]/ { keep = index($0, "Must check") == 1 }
               keep { print "    " $0 }'
}
status=0
for tx in PX400 PX200; do
  from=$samples/$(echo "$tx" | tr 'A-Z' 'a-z')
  to=out/$(basename "$from")
  [ -d "$from" ] || continue
  mkdir -p "$to"
  rm -f "$to"/*.mdl
  echo "== Converting every $tx sample into $to/"
  "$cli" convert --all --report --language en --from "$tx" --source "$from" --to "$to" | must_check || status=1
done
echo "== PX600 models in out/"
"$cli" list out/px400
"$cli" list out/px200
exit $status
