#!/usr/bin/env bash
# The headless converter against another spreadsheet program's converter on
# the benchmark banks, whole process each: quillox-cli --stdout FILE and
# ssconvert to CSV, timed side by side in the same run (median of several
# interleaved runs), with quillox-cli's peak memory, also on an inline-string
# bank four times taller (the inflated sheet part is never held whole, so
# its size should not show in the peak).
#
#   bench/run-reader.sh                 # this tree only
#   QX_BEFORE_SRC=/work/main bench/run-reader.sh
#                                       # and another source tree's converter,
#                                       # built in build/before, for comparison
#
# A benchmark, not a test: scripts/test.sh does not run it. Timings on a
# shared machine move by several per cent from run to run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${QX_BENCH_RUNS:-9}

need=()
for p in gnumeric python3-openpyxl python3-xlwt time; do
  dpkg-query -W -f='${Status}' $p 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null ||
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; }
fi

data=build/bench-data
[ -f $data/bank-10000x7.xls ] || /usr/bin/python3 bench/make-bench-data.py $data
[ -f $data/bank-40000x7-inline.xlsx ] || /usr/bin/python3 bench/make-bench-data.py $data --tall

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
build() {  # source tree, build tree
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build "$2" -j2 --target quillox-cli >/dev/null
}
build . build/bench
before=""
if [ -n "${QX_BEFORE_SRC:-}" ]; then
  build "$QX_BEFORE_SRC" build/before
  before=build/before/cli/quillox-cli
fi

/usr/bin/python3 - "$data" "$runs" build/bench/cli/quillox-cli "$before" <<'EOF'
import os, statistics, subprocess, sys, tempfile, time, zipfile

data, runs, cli, before = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
csv = os.path.join(tempfile.gettempdir(), "x.csv")

def wall(cmd):
    t = time.perf_counter()
    subprocess.run(cmd, check=True, **quiet)
    return (time.perf_counter() - t) * 1000

def peak_kb(cmd):
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(out.stderr.strip().splitlines()[-1])

def inflated_mb(path):
    if not path.endswith(".xlsx"):
        return "-"
    with zipfile.ZipFile(path) as z:
        return "%.1f" % (sum(i.file_size for i in z.infolist() if "worksheets/" in i.filename) / 1e6)

def ours(exe, f):
    return [exe, "--stdout", f]

def theirs(f):
    return ["ssconvert", "-T", "Gnumeric_stf:stf_csv", f, csv]

files = ["bank-10000x7.xlsx", "bank-10000x7-inline.xlsx", "bank-10000x7.xls"]
print(f"whole process, median of {runs} interleaved runs (ms); peak memory of quillox-cli (KB)")
head = f"{'file':28} {'quillox':>8} {'ssconvert':>10} {'ratio':>6} {'peak KB':>8}"
if before:
    head += f" {'before':>8} {'ratio':>6} {'peak KB':>8}"
print(head)
for name in files:
    f = os.path.join(data, name)
    for cmd in ([ours(cli, f), theirs(f)] + ([ours(before, f)] if before else [])):
        wall(cmd)  # warm the page cache and the dynamic loader
    ts = {"q": [], "s": [], "b": []}
    for _ in range(runs):
        ts["q"].append(wall(ours(cli, f)))
        ts["s"].append(wall(theirs(f)))
        if before:
            ts["b"].append(wall(ours(before, f)))
    q, s = statistics.median(ts["q"]), statistics.median(ts["s"])
    line = f"{name:28} {q:8.1f} {s:10.1f} {s / q:6.1f} {peak_kb(ours(cli, f)):8d}"
    if before:
        b = statistics.median(ts["b"])
        line += f" {b:8.1f} {s / b:6.1f} {peak_kb(ours(before, f)):8d}"
    print(line)

print()
print("peak memory against the inflated sheet part (inline-string banks); the")
print("workbook's cells and texts grow with the rows (--stdout writes the text")
print("as it is built)")
print(f"{'file':28} {'sheet MB':>9} {'text MB':>8} {'peak KB':>8}" + (f" {'before KB':>10}" if before else ""))
for name in ["bank-10000x7-inline.xlsx", "bank-40000x7-inline.xlsx"]:
    f = os.path.join(data, name)
    text = len(subprocess.run(ours(cli, f), check=True, stdout=subprocess.PIPE).stdout) / 1e6
    line = f"{name:28} {inflated_mb(f):>9} {text:8.1f} {peak_kb(ours(cli, f)):8d}"
    if before:
        line += f" {peak_kb(ours(before, f)):10d}"
    print(line)
EOF
