#!/usr/bin/env bash
# Times the window program's conversion path under Wine: the converter's
# worksheet source over the two spreadsheet controls and our own server, on
# the 10,000 x 7 bank and on a workbook whose only value is in XFD1048576;
# then quillox.exe on the bank and on 300 question rows with one stray value
# 5,000, 50,000 and 1,048,576 rows further down, with our server in the
# program's process; then on the bank with our server in one of its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
dpkg-query -W -f='${Status}' python3-openpyxl 2>/dev/null | grep -q 'install ok installed' ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3-openpyxl python3-xlwt >/dev/null
data=build/bench-data
[ -f $data/bank-10000x7.xls ] || /usr/bin/python3 bench/make-bench-data.py $data
[ -f $data/stray-50000.xlsx ] || /usr/bin/python3 bench/make-sparse-xlsx.py $data
# The Windows build that this machine can run, in a Release tree of its own.
. scripts/wine-env.sh
qx_windows_tree
build=build/bench-${QX_WIN_TREE#build/} toolchain=$QX_WIN_TOOLCHAIN
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER -DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build $build -j"$(nproc)" --target automation_convert_bench
scripts/wine-run $build/bench/automation_convert_bench.exe --protocol $data/bank-10000x7.xlsx
scripts/wine-run $build/bench/automation_convert_bench.exe \
  $data/bank-10000x7.xls $data/lone-xfd1048576.xlsx $data/stray-1048576.xlsx
# The same through quillox.exe, from the click on "转换" to the text in the
# box, beside one WM_SETTEXT of that text into the system's box alone. The
# stray values' texts hold one unbroken line of row prefixes, which Wine's
# word-wrapping edit box lays out in about cubic time: that floor is given
# up after two minutes, and its growth shown on the first kilobytes of the
# line (the question rows take the first 32.7 KB).
cmake --build $build -j"$(nproc)" --target window_convert_bench edit_box_bench quillox quillox-cli
bench=$build/bench/window_convert_bench.exe
scripts/wine-run $bench $build/app/quillox.exe \
  $data/bank-10000x7.xlsx $data/bank-10000x7.xls $data/stray-5000.xlsx $data/stray-50000.xlsx
scripts/wine-run $bench --runs 1 --floor-cap 5 $build/app/quillox.exe $data/stray-1048576.xlsx
for f in bank-10000x7 stray-5000 stray-50000 stray-1048576; do
  scripts/wine-run $build/cli/quillox-cli.exe --stdout $data/$f.xlsx > $data/$f.txt
done
scripts/wine-run $bench --edit-floor $data/stray-5000.txt 36000 41000 46000
# The body box alone, with its CPU time, which a busy machine does not blur.
scripts/wine-run $build/bench/edit_box_bench.exe $data/bank-10000x7.txt
scripts/wine-run $build/bench/edit_box_bench.exe --body-only $data/stray-5000.txt $data/stray-50000.txt
# Across processes, as on a machine with a spreadsheet application: our
# local server registered as "Excel.Application" in the private prefix only
# (removed again however this script ends), with the fast paths, then cell
# by cell (/CellByCell refuses block values and Find: three round trips
# between processes a cell; one run).
cmake --build $build -j"$(nproc)" --target qxsheets-app
server=$build/automation/server/qxsheets-app.exe
trap 'scripts/wine-run $server /UnregServer >/dev/null 2>&1' EXIT
scripts/wine-run $server /UnregServer >/dev/null 2>&1 || true
scripts/wine-run $server /RegServer
scripts/wine-run $build/bench/window_convert_bench.exe $build/app/quillox.exe $data/bank-10000x7.xlsx
scripts/wine-run $server /UnregServer
scripts/wine-run $server /RegServer /CellByCell
scripts/wine-run $build/bench/window_convert_bench.exe --runs 1 $build/app/quillox.exe $data/bank-10000x7.xlsx
