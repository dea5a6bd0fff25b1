#!/usr/bin/env bash
# Makes the .xls fixtures of tests/reader_xls from sources kept here, with
# two independent writers: xlwt (Debian python3-xlwt) and gnumeric's
# ssconvert. Needs: apt-get install python3-xlwt gnumeric (python3-xlrd
# optional: used only to print what another reader sees, as a cross-check).
# The outputs are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
PY=/usr/bin/python3

# 1. xlwt: several sheets, Chinese text, numbers in RK and NUMBER form,
#    dates with built-in and custom formats, booleans, formulas (xlwt
#    stores no cached results: they read as 0 / empty).
"$PY" - <<'PYEOF'
import datetime, xlwt
wb = xlwt.Workbook(encoding="utf-8")
s = wb.add_sheet("题库")
s.write(0, 0, "题型")
s.write(0, 1, "题目")
s.write(0, 2, "分值")
s.write(1, 0, "单选题")
s.write(1, 1, "下列哪一项是正确的？")
s.write(1, 2, 5)
s.write(2, 0, "判断题")
s.write(2, 1, "Latin-1: café")
s.write(2, 2, 2.5)
s.write(3, 2, -123456789)
s.write(4, 2, 1e100)
s.write(5, 0, True)
s.write(5, 1, False)
date = xlwt.easyxf(num_format_str="yyyy/m/d")
stamp = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm:ss")
money = xlwt.easyxf(num_format_str="#,##0.00")
s.write(6, 0, datetime.date(2024, 1, 15), date)
s.write(6, 1, datetime.datetime(2024, 1, 15, 13, 45, 30), stamp)
s.write(6, 2, 1234.5, money)
s.write(7, 0, xlwt.Formula("C2*2"))
s.write(9, 6, "far")
t = wb.add_sheet("Second")
t.write(0, 0, "第二页")
wb.add_sheet("Empty")
wb.save("xlwt_basic.xls")
PYEOF

# 2. gnumeric: the xlwt file recalculated and written again, so formulas
#    carry cached results (number, text with a STRING record, boolean,
#    error), plus a CSV with Chinese text.
"$PY" - <<'PYEOF'
import xlwt
wb = xlwt.Workbook(encoding="utf-8")
s = wb.add_sheet("公式")
s.write(0, 0, 21)
s.write(0, 1, "文本")
s.write(1, 0, xlwt.Formula("A1*2"))
s.write(1, 1, xlwt.Formula('B1&"结果"'))
s.write(1, 2, xlwt.Formula("A1>0"))
s.write(1, 3, xlwt.Formula("1/0"))
s.write(1, 4, xlwt.Formula('""&""'))
wb.save("/tmp/qx_formulas_src.xls")
PYEOF
ssconvert --recalc -T Gnumeric_Excel:excel_biff8 /tmp/qx_formulas_src.xls \
  gnumeric_formulas.xls 2>/dev/null
ssconvert -T Gnumeric_Excel:excel_biff8 questions.csv gnumeric_csv.xls \
  2>/dev/null
# The same in the old BIFF5 format, which the reader refuses clearly.
ssconvert -T Gnumeric_Excel:excel_biff7 questions.csv gnumeric_biff5.xls \
  2>/dev/null
# Both formats in one file ("Workbook" and "Book" streams): the BIFF8 one
# must be chosen.
ssconvert -T Gnumeric_Excel:excel_dsf questions.csv gnumeric_dual.xls \
  2>/dev/null
rm -f /tmp/qx_formulas_src.xls

# 3. The same date-formatted values written by xlwt (.xls) and by openpyxl
#    (.xlsx, needs python3-openpyxl): times of day, serials around the
#    1900 leap-day, negatives. Both formats must show them alike.
"$PY" - <<'PYEOF'
import xlwt
from openpyxl import Workbook
rows = [  # (value, number format)
    (13.75 / 24, "h:mm:ss"),
    (0.5, "yyyy/m/d h:mm:ss"),
    (0, "yyyy/m/d"),
    (1, "yyyy/m/d"),
    (59, "yyyy/m/d"),
    (60, "yyyy/m/d"),
    (61, "yyyy/m/d"),
    (45306.5, "yyyy/m/d h:mm:ss"),
    (-1, "yyyy/m/d"),
    (-0.25, "h:mm:ss"),
    (1.5, "[h]:mm"),
]
wb = xlwt.Workbook(encoding="utf-8")
s = wb.add_sheet("times")
x = Workbook()
t = x.active
t.title = "times"
for i, (v, fmt) in enumerate(rows):
    s.write(i, 0, v, xlwt.easyxf(num_format_str=fmt))
    t.cell(row=i + 1, column=1, value=v).number_format = fmt
wb.save("xlwt_times.xls")
x.save("openpyxl_times.xlsx")
PYEOF

if "$PY" -c "import xlrd" 2>/dev/null; then
  "$PY" - <<'PYEOF'
import xlrd
for name in ["xlwt_basic.xls", "gnumeric_formulas.xls", "gnumeric_csv.xls"]:
    book = xlrd.open_workbook(name)
    print(name, "datemode", book.datemode)
    for sh in book.sheets():
        print("  sheet", sh.name, sh.nrows, sh.ncols)
        for r in range(min(sh.nrows, 12)):
            print("   ", [(c.ctype, c.value) for c in sh.row(r)])
PYEOF
fi
