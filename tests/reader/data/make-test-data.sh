#!/usr/bin/env bash
# Regenerates the workbooks the reader tests read, each from a different
# writer: openpyxl writes types.xlsx and date1904.xlsx; LibreOffice and
# gnumeric's ssconvert convert types.xlsx to their own .xlsx and .ods (and
# compute its formulas), and they write spaces-lo.ods and spaces-gnm.ods.
# CI never runs this; the outputs are committed.
set -euo pipefail
cd "$(dirname "$0")"

if ! /usr/bin/python3 -c 'import openpyxl' 2>/dev/null || ! command -v soffice >/dev/null ||
   ! command -v ssconvert >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    python3-openpyxl libreoffice-calc-nogui gnumeric >/dev/null
fi

/usr/bin/python3 - <<'PY'
import datetime
from openpyxl import Workbook
from openpyxl.utils.datetime import CALENDAR_MAC_1904

wb = Workbook()
ws = wb.active
ws.title = "类型"
ws["A1"] = "文本"
ws["B1"] = 2
ws["C1"] = 0.5
ws["D1"] = 1 / 3
ws["E1"] = True
ws["F1"] = False
ws["A2"] = datetime.date(2024, 1, 15)
ws["B2"] = datetime.datetime(2024, 1, 15, 13, 45, 30)
ws["C2"] = datetime.time(13, 45, 0)
ws["D2"] = 45306
ws["D2"].number_format = 'yyyy"年"m"月"d"日"'
ws["E2"] = 12
ws["E2"].number_format = '0" d"'
ws["A3"] = "第一行\n第二行"
ws["B3"] = "=B1*2"
ws["C3"] = "=1/0"
ws["D3"] = -0.0
ws["E3"] = 1e15
ws["F3"] = 0.00001
ws["A4"] = "  前后空格  "
ws["B4"] = "€ 和 😀"
ws["G5"] = "末"
wb.create_sheet("第二页")["B2"] = "第二页的值"
wb.save("types.xlsx")

wb = Workbook()
wb.epoch = CALENDAR_MAC_1904
ws = wb.active
ws["A1"] = datetime.date(2024, 1, 15)
ws["A2"] = 1
ws["B1"] = "1904"
wb.save("date1904.xlsx")
PY

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp types.xlsx "$work/in.xlsx"
(cd "$work" && soffice --headless --norestore --convert-to ods in.xlsx >/dev/null 2>&1 &&
  mv in.ods lo.ods &&
  soffice --headless --norestore --convert-to xlsx:"Calc MS Excel 2007 XML" lo.ods >/dev/null 2>&1)
cp "$work/lo.ods" types-lo.ods
cp "$work/lo.xlsx" types-lo.xlsx
ssconvert types.xlsx "$work/gnm.xlsx" >/dev/null 2>&1
ssconvert types.xlsx "$work/gnm.ods" >/dev/null 2>&1
cp "$work/gnm.xlsx" types-gnm.xlsx
cp "$work/gnm.ods" types-gnm.ods
# Spaces in text cells as the two applications write them: LibreOffice
# reads the hand-written spaces.fods (literal blanks, <text:s>, paragraphs,
# spans, links) and writes spaces-lo.ods; gnumeric reads that and writes
# spaces-gnm.ods.
cp spaces.fods "$work/spaces.fods"
(cd "$work" && soffice --headless --norestore --convert-to ods spaces.fods >/dev/null 2>&1)
cp "$work/spaces.ods" spaces-lo.ods
ssconvert spaces-lo.ods "$work/spaces-gnm.ods" >/dev/null 2>&1
cp "$work/spaces-gnm.ods" spaces-gnm.ods
ls -l
