#!/usr/bin/env bash
# Fills OUT/<target>/ with seed inputs for each fuzz target from the
# committed samples and test workbooks: whole files for the format targets,
# their XML parts for fuzz_xml.   Usage: fuzz/seed-corpus.sh OUT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?output folder}
mkdir -p "$out"/{xlsx,ods,csv,zip,xml,any,xls}
for f in "$root"/samples/题库示例.xls "$root"/tests/reader_xls/data/*.xls; do
  cp "$f" "$out/xls/$(basename "$f")"
done
for f in "$root"/samples/题库示例.xlsx "$root"/tests/reader/data/*.xlsx; do
  cp "$f" "$out/xlsx/$(basename "$f")"
done
for f in "$root"/samples/题库示例.ods "$root"/tests/reader/data/*.ods; do
  cp "$f" "$out/ods/$(basename "$f")"
done
cp "$root"/samples/题库示例.csv "$out/csv/sample.csv"
printf 'a,"b,c","d""e"\r\n"x\ny",,z\r' >"$out/csv/quoted.csv"
cp "$out"/xlsx/* "$out"/ods/* "$out/zip/"
cp "$out"/xlsx/* "$out"/ods/* "$out"/csv/* "$out/any/"
n=0
for f in "$out"/xlsx/* "$out"/ods/*; do
  for part in $(unzip -Z1 "$f" | grep '\.xml$\|\.rels$'); do
    n=$((n + 1))
    unzip -p "$f" "$part" >"$out/xml/$n.xml"
  done
done
