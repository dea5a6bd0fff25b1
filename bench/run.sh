#!/usr/bin/env bash
# Makes the benchmark data (10,000 x 7 Chinese question bank) and runs the
# conversion benchmark and the peak-memory measurement in the native
# release build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
for p in python3-openpyxl python3-xlwt; do
  dpkg-query -W -f='${Status}' $p 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $p >/dev/null
done
data=build/bench-data
[ -f $data/bank-10000x7.xls ] || /usr/bin/python3 bench/make-bench-data.py $data
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j"$(nproc)" --target convert_bench
build/bench/bench/convert_bench $data --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
for f in bank-10000x7.xlsx bank-10000x7-inline.xlsx bank-10000x7.xls; do
  build/bench/bench/convert_bench --peak $data/$f
done
unzip -l $data/bank-10000x7.xlsx | grep -E 'sheet1.xml|sharedStrings'
unzip -l $data/bank-10000x7-inline.xlsx | grep -E 'sheet1.xml'
