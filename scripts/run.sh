#!/usr/bin/env bash
# Set-up and the main job: installs what is missing and builds (the release
# configuration of CMakePresets.json, in build/); then, when a display is
# there, starts the desktop program arkleton in the PX400 samples folder that
# the build wrote (build/samples/px400; its first start lists them). Without a
# display it says so, lists the sample models and converts each PX400 sample
# into out/ with the command-line program.
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

mkdir -p out
echo "== Converting the PX400 samples into out/"
status=0
for f in "$samples"/px400/*.MDL; do
  name=$(basename "$f" .MDL)
  rm -f "out/$name.mdl"
  "$cli" convert --from PX400 --source "$samples/px400" --model "$f" --to out --name "$name" || status=1
done
echo "== PX600 models in out/"
"$cli" list out
exit $status
