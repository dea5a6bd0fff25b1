#!/usr/bin/env bash
# Makes the .xls fixtures of tests/reader_xls from sources kept here, with
# two independent writers: xlwt (Debian python3-xlwt) and gnumeric's
# ssconvert; where no writer makes a construct, a writer's file is changed
# with python3-olefile or the bytes are written here. Needs: apt-get install
# python3-xlwt gnumeric python3-olefile locales (python3-xlrd optional:
# used only to print what another reader sees, as a cross-check).
# The outputs are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
PY=/usr/bin/python3
# `make_fixtures.sh real-world` makes only the files of part 4 (it needs
# python3-olefile and the locales package besides).
if [ "${1:-}" = real-world ]; then
  only_real_world=1
else
  only_real_world=""
fi

if [ -z "$only_real_world" ]; then
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
fi

# 4. Constructs seen in files of other programs.
#    a. BIFF7 as gnumeric writes it in a Chinese locale (CODEPAGE 936, GBK
#       byte strings): sheet names, LABEL and RSTRING cells, number formats,
#       a formula with its text in a STRING record; from a small .xlsx
#       written here.
#    b. BIFF8 formula cells under the older FORMULA record number 0x0406:
#       gnumeric_formulas.xls with its FORMULA records renumbered.
#    c. A FORMAT record whose string is one byte shorter than its count
#       says: xlwt_basic.xls with the count of its "yyyy/m/d" raised by one.
#    d. A bare BIFF4 worksheet (no compound file), written byte by byte.
#    e. A sheet whose BOUNDSHEET misses its BOF: xlwt_basic.xls with the
#       second sheet's offset pointing into the globals.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/locale"
LC_ALL=C localedef -i zh_CN -f UTF-8 "$work/locale/zh_CN.UTF-8" >/dev/null 2>&1 || true
"$PY" - "$work/biff7-src.xlsx" <<'PYEOF'
import sys, zipfile
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
def sheet(rows):
    return '<?xml version="1.0"?><worksheet %s><sheetData>%s</sheetData></worksheet>' % (ns, rows)
parts = {
  "[Content_Types].xml": '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
    '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
    '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
    '<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>',
  "_rels/.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % rel,
  "xl/workbook.xml": '<?xml version="1.0"?><workbook %s xmlns:r="%s"><sheets>'
    '<sheet name="题库" sheetId="1" r:id="rId1"/><sheet name="第二页" sheetId="2" r:id="rId2"/></sheets></workbook>' % (ns, rel),
  "xl/_rels/workbook.xml.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
    '<Relationship Id="rId2" Type="%s/worksheet" Target="worksheets/sheet2.xml"/>'
    '<Relationship Id="rId3" Type="%s/styles" Target="styles.xml"/></Relationships>' % (rel, rel, rel),
  "xl/styles.xml": '<?xml version="1.0"?><styleSheet %s><numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>'
    '<fonts count="1"><font/></fonts><fills count="1"><fill/></fills><borders count="1"><border/></borders>'
    '<cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="164" applyNumberFormat="1"/></cellXfs></styleSheet>' % ns,
  "xl/worksheets/sheet1.xml": sheet(
    '<row r="1"><c r="A1" t="inlineStr"><is><t>题型</t></is></c><c r="B1" t="inlineStr"><is><t>题目</t></is></c><c r="C1" t="inlineStr"><is><t>分值</t></is></c></row>'
    '<row r="2"><c r="A2" t="inlineStr"><is><t>单选题</t></is></c>'
    '<c r="B2" t="inlineStr"><is><r><rPr><b/></rPr><t>粗体</t></r><r><t>和普通的题目</t></r></is></c><c r="C2"><v>5</v></c></row>'
    '<row r="3"><c r="A3" s="1"><v>45306</v></c><c r="B3" t="str"><f>A2&amp;"（答）"</f><v>单选题（答）</v></c><c r="C3"><v>2.5</v></c></row>'),
  "xl/worksheets/sheet2.xml": sheet('<row r="1"><c r="A1" t="inlineStr"><is><t>第二页的值</t></is></c></row>'),
}
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
PYEOF
LOCPATH="$work/locale" LC_ALL=zh_CN.UTF-8 ssconvert --recalc -T Gnumeric_Excel:excel_biff7 \
  "$work/biff7-src.xlsx" gnumeric_biff7_zh.xls 2>/dev/null
"$PY" - <<'PYEOF'
import shutil, struct, olefile

def records(data):
    at = 0
    while at + 4 <= len(data):
        kind, size = struct.unpack_from("<HH", data, at)
        yield at, kind, size
        at += 4 + size

def patch(source, target, change):
    shutil.copyfile(source, target)
    with olefile.OleFileIO(target, write_mode=True) as ole:
        data = bytearray(ole.openstream("Workbook").read())
        change(data)
        ole.write_stream("Workbook", bytes(data))

def renumber_formulas(data):
    n = 0
    for at, kind, size in list(records(data)):
        if kind == 0x0006:
            struct.pack_into("<H", data, at, 0x0406)
            n += 1
    assert n >= 5, n

def lengthen_format(data):
    for at, kind, size in records(data):
        body = bytes(data[at + 4:at + 4 + size])
        if kind == 0x041E and body[5:] == b"yyyy/m/d":
            struct.pack_into("<H", data, at + 6, 9)
            return
    raise SystemExit("no yyyy/m/d format in xlwt_basic.xls")

patch("gnumeric_formulas.xls", "formula_0406.xls", renumber_formulas)
patch("xlwt_basic.xls", "format_short.xls", lengthen_format)

# The second sheet's BOUNDSHEET points into the globals instead of at its
# own BOF: only that sheet cannot be read.
def misplace_second_sheet(data):
    sheets = [at for at, kind, size in records(data) if kind == 0x0085]
    struct.pack_into("<I", data, sheets[1] + 4, 2)

patch("xlwt_basic.xls", "bad_sheet_offset.xls", misplace_second_sheet)

# A worksheet of the BIFF4 years: BOF (0x0409), two cells, EOF; no
# compound file around it.
def rec(kind, body):
    return struct.pack("<HH", kind, len(body)) + body
label = "题库".encode("gbk")
sheet = (rec(0x0409, struct.pack("<HHH", 0, 0x0010, 0)) +
         rec(0x0204, struct.pack("<HHBBBH", 0, 0, 0, 0, 0, len(label)) + label) +
         rec(0x0203, struct.pack("<HHBBBd", 1, 0, 0, 0, 0, 42.0)) + rec(0x000A, b""))
open("biff4_sheet.xls", "wb").write(sheet)
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
