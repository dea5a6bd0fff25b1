#!/usr/bin/env bash
# Builds the release from the 32-bit Windows build: build/dist/ gets
# quillox-<version>-win32.zip (a portable folder) and
# quillox-<version>-setup.exe (a per-user installer).
#
#   scripts/package.sh [BUILD_TREE]
#
# With a tree of the 64-bit test build, the same two artefacts for 64-bit
# Windows go to build/dist-win64 (the tests use them where no 32-bit code
# runs).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
tree=${1:-build/win32}
bash scripts/install-deps.sh
if [ ! -f "$tree/CMakeCache.txt" ]; then
  toolchain=cmake/mingw-i686.cmake
  case "$tree" in *64*) toolchain=cmake/mingw-x86_64.cmake ;; esac
  cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$tree" -j"$(nproc)" --target quillox quillox-cli qxsheets quillox_readme
(cd "$tree" && cpack -C RelWithDebInfo >/dev/null)
ls -1 "$(cd "$tree/.." && pwd)"/dist*/quillox-* 2>/dev/null | sed "s|^$root/||"
