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
  # Not every seed is a sound package (an encrypted .xlsx is a compound
  # file, a package with two entries of one name is refused by unzip too);
  # unzip takes names as patterns, so [Content_Types].xml is escaped.
  parts=$(unzip -Z1 "$f" 2>/dev/null | grep '\.xml$\|\.rels$') || continue
  for part in $parts; do
    n=$((n + 1))
    unzip -p "$f" "$(printf '%s' "$part" | sed 's/[][*?]/\\&/g')" >"$out/xml/$n.xml" || true
  done
done
