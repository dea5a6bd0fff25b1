#!/usr/bin/env bash
# Takes docs/window.png: the converter's window as a user sees it, drawn in
# the third visual-style scheme, under Xvfb and Wine, after it converted the
# bundled sample question bank.
#
#   scripts/screenshot.sh [OUT.png]     (default docs/window.png)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=${1:-docs/window.png}
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-deps.sh

# The product is 32-bit; a machine that runs no 32-bit code shows the same
# sources built for 64 bits.
. "$root/scripts/wine-env.sh"
qx_windows_tree
build=$QX_WIN_TREE toolchain=$QX_WIN_TOOLCHAIN
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quillox qxdriver -j"$jobs" >/dev/null

. "$root/scripts/wine-session.sh"

title="Quillox 1.0 by：Tarvenn"
driver=$build/tests/ui/qxdriver.exe
bmp=$root/build/window.bmp
rm -f "$bmp"
scripts/wine-run "$build/app/quillox.exe" </dev/null >/dev/null 2>&1 &
demo=$!
scripts/wine-run "$driver" wait "$title" 60000 </dev/null >/dev/null
# Choose the sample in the open dialog ("选择文件" is child 140; the click
# waits for the dialog, so it goes to the background), then convert (120).
sample=$(printf 'Z:%s/samples/题库示例.xlsx' "$root" | tr / '\\')
scripts/wine-run "$driver" click "$title" 140 </dev/null >/dev/null 2>&1 &
click=$!
scripts/wine-run "$driver" file "打开" "$sample" </dev/null >/dev/null || true
wait "$click" || true
scripts/wine-run "$driver" click "$title" 120 </dev/null >/dev/null || true
sleep 2  # the first paint of every control
scripts/wine-run "$driver" picture "$title" "Z:$bmp" </dev/null
scripts/wine-run "$driver" close "$title" </dev/null
wait "$demo" || true
mkdir -p "$(dirname "$out")"
python3 scripts/bmp2png.py "$bmp" "$out"
echo "screenshot.sh: wrote $out"
