#!/usr/bin/env bash
# Regenerates the workbooks the reader tests read, each from a different
# writer: openpyxl writes types.xlsx and date1904.xlsx; LibreOffice and
# gnumeric's ssconvert convert types.xlsx to their own .xlsx and .ods (and
# compute its formulas), and they write spaces-lo.ods and spaces-gnm.ods.
# CI never runs this; the outputs are committed.
set -euo pipefail
cd "$(dirname "$0")"

# Constructs seen in files of other programs, each in a small file. Where
# no writer makes one, a writer's file is changed or the bytes are written
# here. `make-test-data.sh real-world` makes only these (openpyxl and
# python3-olefile are enough for them).
make_real_world() {
/usr/bin/python3 - <<'PY'
import datetime, io, zipfile, zlib
from openpyxl import Workbook

# A time of day alone in a t="d" cell, as openpyxl writes it with ISO
# dates on.
wb = Workbook()
wb.iso_dates = True
ws = wb.active
ws["A1"] = datetime.time(10, 10, 10)
ws["B1"] = datetime.datetime(2024, 1, 15, 13, 45, 30)
ws["C1"] = "文本"
wb.save("time-only.xlsx")

def rewrite(source, target, change):
    with zipfile.ZipFile(source) as z:
        parts = [(i, z.read(i.filename)) for i in z.infolist()]
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
        for info, data in change(parts):
            z.writestr(info, data)

# A sheet entry with an empty relationship id (a macro sheet without a
# part) after the first sheet.
wb = Workbook()
wb.active.title = "题库"
wb.active["A1"] = "第一页"
wb.create_sheet("第三页")["A1"] = 3
wb.save("relid-src.xlsx")
def empty_relid(parts):
    for info, data in parts:
        if info.filename == "xl/workbook.xml":
            text = data.decode()
            at = text.rindex("<sheet ", 0, text.index('name="第三页"'))
            data = (text[:at] + '<sheet xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
                    ' name="宏1" sheetId="9" r:id=""/>' + text[at:]).encode()
        yield info, data
rewrite("relid-src.xlsx", "empty-relid.xlsx", empty_relid)

# Two entries of one name: the first sheet part twice. Python's zipfile
# writes both (with a warning).
import warnings
warnings.simplefilter("ignore")
def twice(parts):
    for info, data in parts:
        yield info, data
        if info.filename == "xl/worksheets/sheet1.xml":
            yield info, data
rewrite("relid-src.xlsx", "duplicate-entry.xlsx", twice)

# Three sheets whose second cannot be read, in three ways: its part's
# checksum does not match (the part stored, so that its bytes stay
# well-formed XML and only the checksum tells), its relationship id names
# no relationship, its part is missing from the package.
wb = Workbook()
wb.active.title = "题库"
wb.active["A1"] = "第一页"
wb.create_sheet("坏表")["A1"] = 12345
wb.create_sheet("第三页")["A1"] = 3
wb.save("bad-sheet-src.xlsx")
def stored(parts):
    for info, data in parts:
        if info.filename == "xl/worksheets/sheet2.xml":
            info.compress_type = zipfile.ZIP_STORED
        yield info, data
rewrite("bad-sheet-src.xlsx", "bad-sheet-part.xlsx", stored)
package = bytearray(open("bad-sheet-part.xlsx", "rb").read())
with zipfile.ZipFile("bad-sheet-part.xlsx") as z:
    info = z.getinfo("xl/worksheets/sheet2.xml")
# The value 12345 becomes 12346 in the stored bytes: the XML stays sound,
# the checksum no longer matches.
at = package.index(b"<v>12345</v>", info.header_offset)
package[at + 7] = ord("6")
open("bad-sheet-part.xlsx", "wb").write(bytes(package))
def dangling(parts):
    for info, data in parts:
        if info.filename == "xl/workbook.xml":
            text = data.decode()
            at = text.index('name="坏表"')
            end = text.index("/>", at)
            entry = text[at:end]
            rid = entry[entry.index('r:id="'):]
            rid = rid[:rid.index('"', 6) + 1]
            data = (text[:at] + entry.replace(rid, 'r:id="rId99"') + text[end:]).encode()
        yield info, data
rewrite("bad-sheet-src.xlsx", "bad-sheet-relid.xlsx", dangling)
def missing(parts):
    for info, data in parts:
        if info.filename != "xl/worksheets/sheet2.xml":
            yield info, data
rewrite("bad-sheet-src.xlsx", "bad-sheet-missing.xlsx", missing)

# Cell texts that are not sound UTF-8, as damaged or careless writers
# leave them (an overlong slash, a surrogate written out, a character cut
# short before plain text and at the text's end, stray continuation bytes,
# a five-byte lead), beside sound ones the code page writes specially (a
# character past the two-byte range, a user-defined one, the euro sign):
# the window program and the headless converter must make the same text
# of each.
malformed = [b"a\xc0\xafb", b"\xed\xa0\x80x", b"\xe4\xb8y", b"z\xe4\xb8", b"\x80\x80q",
             b"\xf8\x88\x80\x80\x80w", b"\xf0\x9f\x98\x80", b"\xee\x80\x80", b"\xe2\x82\xac"]
wb = Workbook()
for i in range(len(malformed)):
    wb.active.cell(row=i + 1, column=1, value=f"MARK{i}")
    wb.active.cell(row=i + 1, column=2, value=i)
wb.save("malformed-src.xlsx")
def malformed_texts(parts):
    for info, data in parts:
        if info.filename == "xl/worksheets/sheet1.xml":
            for i, raw in enumerate(malformed):
                data = data.replace(f"MARK{i}<".encode(), raw + b"<")
        yield info, data
rewrite("malformed-src.xlsx", "malformed-utf8.xlsx", malformed_texts)

# A package saved with a password: the manifest in the clear, content.xml
# encrypted (here: bytes that stand for it).
manifest = ('<?xml version="1.0" encoding="UTF-8"?>'
    '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">'
    '<manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
    '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml" manifest:size="2201">'
    '<manifest:encryption-data manifest:checksum-type="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha256-1k" manifest:checksum="AAAA">'
    '<manifest:algorithm manifest:algorithm-name="http://www.w3.org/2001/04/xmlenc#aes256-cbc" manifest:initialisation-vector="AAAA"/>'
    '<manifest:start-key-generation manifest:start-key-generation-name="http://www.w3.org/2000/09/xmldsig#sha256" manifest:key-size="32"/>'
    '<manifest:key-derivation manifest:key-derivation-name="PBKDF2" manifest:key-size="32" manifest:iteration-count="100000" manifest:salt="AAAA"/>'
    '</manifest:encryption-data></manifest:file-entry></manifest:manifest>')
with zipfile.ZipFile("encrypted.ods", "w") as z:
    z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet", zipfile.ZIP_STORED)
    z.writestr("content.xml", bytes((i * 151 + 7) % 256 for i in range(2048)), zipfile.ZIP_STORED)
    z.writestr("META-INF/manifest.xml", manifest, zipfile.ZIP_DEFLATED)
PY
rm -f relid-src.xlsx bad-sheet-src.xlsx malformed-src.xlsx
# An encrypted .xlsx is a compound file holding the streams
# EncryptionInfo and EncryptedPackage: gnumeric's two-stream .xls with its
# streams renamed so.
/usr/bin/python3 - <<'PY'
data = bytearray(open("../../reader_xls/data/gnumeric_dual.xls", "rb").read())
def rename(old, new):
    key = (old + "\0").encode("utf-16-le")
    at = data.find(key)
    while at % 128:
        at = data.find(key, at + 1)
    name = (new + "\0").encode("utf-16-le")
    data[at:at + 64] = name + bytes(64 - len(name))
    data[at + 0x40:at + 0x42] = len(name).to_bytes(2, "little")
rename("Workbook", "EncryptedPackage")
rename("Book", "EncryptionInfo")
open("encrypted.xlsx", "wb").write(bytes(data))
PY
}
if [ "${1:-}" = real-world ]; then
  make_real_world
  exit 0
fi


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
make_real_world
ls -l
