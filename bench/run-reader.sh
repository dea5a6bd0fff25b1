#!/usr/bin/env bash
# The headless converter against another spreadsheet program's converter on
# the benchmark banks, whole process each: quillox-cli --stdout FILE and
# ssconvert to CSV, timed side by side in the same run (median of several
# interleaved runs), with the targets (the inline-string bank 20 times
# faster than ssconvert, the shared-string bank 15 times, the .xls bank no
# slower than the converter QX_BEFORE_SRC builds) and quillox-cli's peak
# memory, also on an inline-string bank four times taller (the inflated
# sheet part is never held whole, so its size should not show in the peak).
# In the same runs, two floors: inflating the sheet part alone
# (bench/InflateFloor.cpp: a process that does only that, with the same
# inflater and checks) and reading the workbook alone (quillox-cli
# --list-sheets: every cell read, nothing converted), and the converter's
# time over each; and the sheet part inflated twice at once on two threads,
# which tells whether this machine's second core is there to inflate beside
# the parse.
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
  cmake --build "$2" -j2 --target quillox-cli "${@:3}" >/dev/null
}
build . build/bench inflate_floor
before=""
if [ -n "${QX_BEFORE_SRC:-}" ]; then
  build "$QX_BEFORE_SRC" build/before
  before=build/before/cli/quillox-cli
fi

/usr/bin/python3 - "$data" "$runs" build/bench/cli/quillox-cli "$before" build/bench/bench/inflate_floor <<'EOF'
import os, statistics, subprocess, sys, tempfile, time, zipfile

data, runs, cli, before, floor = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
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

# (file, target: ssconvert's time over ours, or None: no slower than before)
files = [("bank-10000x7.xlsx", 15), ("bank-10000x7-inline.xlsx", 20), ("bank-10000x7.xls", None)]
kinds = {"q": lambda f: ours(cli, f), "s": theirs,
         "i": lambda f: [floor, f] if f.endswith(".xlsx") else None,
         "t": lambda f: [floor, "--twice", f] if f.endswith(".xlsx") else None,
         "r": lambda f: [cli, "--list-sheets", f]}
if before:
    kinds["b"] = lambda f: ours(before, f)
print(f"whole process, median of {runs} interleaved runs (ms); peak memory of quillox-cli (KB)")
print("floors: inflate = the sheet part inflated alone; read = the workbook read alone (--list-sheets)")
print("infl x2 = the part inflated twice at once on two threads (as fast as once with a second core)")
head = (f"{'file':26} {'quillox':>7} {'ssconvert':>9} {'ratio':>6} {'target':>7} {'inflate':>7} "
        f"{'infl x2':>7} {'read':>6} {'q/infl':>6} {'q/read':>6} {'s/infl':>6} {'peak KB':>7}")
if before:
    head += f" {'before':>7} {'ratio':>6} {'peak KB':>7}"
print(head)
for name, target in files:
    f = os.path.join(data, name)
    cmds = {k: make(f) for k, make in kinds.items()}
    cmds = {k: c for k, c in cmds.items() if c}
    for c in cmds.values():
        wall(c)  # warm the page cache and the dynamic loader
    ts = {k: [] for k in cmds}
    for _ in range(runs):
        for k, c in cmds.items():
            ts[k].append(wall(c))
    m = {k: statistics.median(v) for k, v in ts.items()}
    q, s = m["q"], m["s"]
    infl, twice = m.get("i"), m.get("t")
    ratio = s / q
    if target:
        verdict = f"{target}x {'ok' if ratio >= target else 'NO'}"
    elif before:
        verdict = "<=bef " + ("ok" if q <= m["b"] else "NO")
    else:
        verdict = "-"
    line = (f"{name:26} {q:7.1f} {s:9.1f} {ratio:6.1f} {verdict:>7} "
            f"{(f'{infl:7.1f}' if infl else '      -')} {(f'{twice:7.1f}' if twice else '      -')} "
            f"{m['r']:6.1f} "
            f"{(f'{q / infl:6.2f}' if infl else '     -')} {q / m['r']:6.2f} "
            f"{(f'{s / infl:6.1f}' if infl else '     -')} {peak_kb(ours(cli, f)):7d}")
    if before:
        b = m["b"]
        line += f" {b:7.1f} {s / b:6.1f} {peak_kb(ours(before, f)):7d}"
    print(line)
print("s/infl: ssconvert's time over the inflate floor, the most any converter")
print("that inflates the sheet part could reach against it")

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
