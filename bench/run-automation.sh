#!/usr/bin/env bash
# Times the window program's conversion path under Wine: the converter's
# worksheet source over the two spreadsheet controls and our own server, on
# the 10,000 x 7 bank and on a workbook whose only value is in XFD1048576;
# then quillox.exe from the click on "转换" to the text in the box, with our
# server in the program's process and then in one of its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
dpkg-query -W -f='${Status}' python3-openpyxl 2>/dev/null | grep -q 'install ok installed' ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3-openpyxl python3-xlwt >/dev/null
data=build/bench-data
[ -f $data/bank-10000x7.xls ] || /usr/bin/python3 bench/make-bench-data.py $data
[ -f $data/lone-xfd1048576.xlsx ] || /usr/bin/python3 bench/make-sparse-xlsx.py $data
# The Windows build that this machine can run.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build=build/bench-win32; toolchain=cmake/mingw-i686.cmake
else
  build=build/bench-win64; toolchain=cmake/mingw-x86_64.cmake
fi
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER -DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build $build -j"$(nproc)" --target automation_convert_bench
scripts/wine-run $build/bench/automation_convert_bench.exe --protocol $data/bank-10000x7.xlsx
scripts/wine-run $build/bench/automation_convert_bench.exe \
  $data/bank-10000x7.xls $data/lone-xfd1048576.xlsx
# The same through quillox.exe, from the click on "转换" to the text in the
# box. Not the XFD1048576 workbook: its text is one unbroken line of 7.3 MB,
# which Wine's word-wrapping edit box takes in about cubic time (years), so
# for it the box's floor is measured on the text's first kilobytes instead.
cmake --build $build -j"$(nproc)" --target window_convert_bench quillox quillox-cli
scripts/wine-run $build/bench/window_convert_bench.exe $build/app/quillox.exe \
  $data/bank-10000x7.xlsx $data/bank-10000x7.xls
scripts/wine-run $build/cli/quillox-cli.exe --stdout $data/lone-xfd1048576.xlsx > $data/lone-xfd1048576.txt
scripts/wine-run $build/bench/window_convert_bench.exe --edit-floor $data/lone-xfd1048576.txt 5000 10000 20000
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
