#!/usr/bin/env bash
# Set-up and the main job: installs what is missing, builds, then lists the
# bundled sample models and converts one PX400 model of each kind into out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

cli=build/arkleton-cli
echo "== PX400 sample models (samples/px400)"
"$cli" list samples/px400
if [ -d samples/px200 ]; then
  echo "== PX200 sample models in samples/px200/TINYFS.IMG"
  "$cli" list samples/px200
fi

mkdir -p out
echo "== Converting the PX400 samples into out/"
status=0
for f in samples/px400/*.MDL; do
  name=$(basename "$f" .MDL)
  rm -f "out/$name.mdl"
  "$cli" convert --from PX400 --source samples/px400 --model "$f" --to out --name "$name" || status=1
done
echo "== PX600 models in out/"
"$cli" list out
exit $status
