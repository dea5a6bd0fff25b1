#!/usr/bin/env bash
# Regenerates the bundled sample question bank in every format the reader
# takes: 题库示例.xlsx (written by openpyxl), .xls and .ods (converted by
# LibreOffice) and .csv (UTF-8 with BOM). CI never runs this; the outputs
# are committed. Needs python3-openpyxl and LibreOffice, installed if missing.
set -euo pipefail
cd "$(dirname "$0")"

if ! /usr/bin/python3 -c 'import openpyxl' 2>/dev/null || ! command -v soffice >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    python3-openpyxl libreoffice-calc-nogui >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import csv, sys
from openpyxl import Workbook
from openpyxl.styles import Alignment

rows = [
    ["题型", "题目", "选项A", "选项B", "选项C", "选项D", "答案"],
    ["单选题", "我国的首都是哪座城市？", "上海", "北京", "广州", "深圳", "B"],
    ["单选题", "1+1=?", "1", "2", "3", "4", "B"],
    ["多选题", "下列属于哺乳动物的是：", "鲸", "蝙蝠", "企鹅", "鸵鸟", "AB"],
    ["判断题", "水在标准大气压下100℃沸腾。", "正确", "错误", None, None, "A"],
    [None, None, None, None, None, None, None],
    ["填空题", "光在真空中的速度约为____千米/秒。", None, None, None, None, 300000],
    ["简答题", "简述光合作用的过程。\n（要求：写出反应物和生成物）", None, None, None, None,
     "二氧化碳和水在光照下\n生成有机物和氧气"],
    ["多选题", "以下哪些是编程语言？", "C++", "Python", "HTML", "Java", "ABD"],
    ["判断题", "地球是太阳系中最大的行星。", "正确", "错误", None, None, "B"],
    ["填空题", "《静夜思》的作者是____。", None, None, None, None, "李白"],
    ["单选题", "圆周率π约等于多少？", "3.14", None, "2.71", "1.41", "A"],
]

wb = Workbook()
ws = wb.active
ws.title = "题库"
for r in rows:
    ws.append(r)
for row in ws.iter_rows():
    for cell in row:
        if isinstance(cell.value, str) and "\n" in cell.value:
            cell.alignment = Alignment(wrap_text=True)
ws.column_dimensions["B"].width = 40
wb.save(sys.argv[1] + "/sample.xlsx")

with open(sys.argv[1] + "/sample.csv", "w", encoding="utf-8-sig", newline="") as f:
    w = csv.writer(f, lineterminator="\r\n")
    for r in rows:
        w.writerow(["" if v is None else v for v in r])
PY

(cd "$work" && soffice --headless --norestore --convert-to xls:"MS Excel 97" sample.xlsx >/dev/null 2>&1 \
  && soffice --headless --norestore --convert-to ods sample.xlsx >/dev/null 2>&1)
cp "$work/sample.xlsx" 题库示例.xlsx
cp "$work/sample.xls" 题库示例.xls
cp "$work/sample.ods" 题库示例.ods
cp "$work/sample.csv" 题库示例.csv
ls -l 题库示例.*
