#!/usr/bin/env bash
# The main job: converts the bundled sample question bank with the headless
# converter and shows where the document went.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/host -j"$(nproc)" --target quillox-cli
out="$root/build/out"
mkdir -p "$out"
build/host/cli/quillox-cli --auto -o "$out" samples/题库示例.xlsx
echo "document: $out/题库示例.doc"
