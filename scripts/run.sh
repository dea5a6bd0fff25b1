#!/usr/bin/env bash
# The main job: converts the bundled sample question bank with the headless
# converter and shows where the document went.
#
#   scripts/run.sh            the headless converter on the bundled sample
#   scripts/run.sh --window   builds quillox.exe and opens it under the
#                             project's Wine, the samples on Wine's desktop
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

if [ "${1:-}" = "--window" ]; then
  # The Windows build this machine can run: the 32-bit product, or its
  # 64-bit build where the kernel runs no 32-bit code.
  . scripts/wine-env.sh
  qx_windows_tree
  build=$QX_WIN_TREE toolchain=$QX_WIN_TOOLCHAIN prefix=$QX_WINE_PREFIX_NAME
  cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build $build -j"$(nproc)" --target quillox
  scripts/wine-run cmd /c exit 0 </dev/null >/dev/null 2>&1   # makes the prefix once
  # "选择文件" opens on the desktop: put the samples there.
  desktop=$(ls -d build/wine/$prefix/drive_c/users/*/Desktop 2>/dev/null | grep -v Public | head -1 || true)
  if [ -n "$desktop" ]; then
    mkdir -p "$desktop/" 2>/dev/null || true
    cp samples/题库示例.* "$desktop/" 2>/dev/null || true
  fi
  exec scripts/wine-run $build/app/quillox.exe
fi

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/host -j"$(nproc)" --target quillox-cli
out="$root/build/out"
mkdir -p "$out"
build/host/cli/quillox-cli --auto -o "$out" samples/题库示例.xlsx
echo "document: $out/题库示例.doc"
