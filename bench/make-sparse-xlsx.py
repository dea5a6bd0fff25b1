#!/usr/bin/python3
"""Writes sparse workbooks into the folder given:

- lone-xfd1048576.xlsx: the only value sits in the last cell a sheet has,
  XFD1048576, so that its used range is the whole sheet (seventeen billion
  cells);
- stray-5000.xlsx, stray-50000.xlsx, stray-1048576.xlsx: a bank of 300
  question rows (7 columns) and one stray value in column A 5,000 and 50,000
  rows further down, and in the sheet's last row. Every empty row in
  between converts to its row prefix alone, so the text holds one unbroken
  line "300:301:302:..." of some 30 KB, 330 KB and 7.3 MB.

Deterministic: the same files every time.
"""
import os
import sys
import zipfile
from xml.sax.saxutils import escape

LAST_ROW = 1048576
QUESTION_ROWS = 300
TYPES = ["单选题", "多选题", "判断题", "填空题", "简答题", "论述题", "计算题"]
WORDS = "题目内容选项答案解析光合作用二氧化碳水分子能量守恒定律细胞结构"


def parts(sheet_data):
    return {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>',
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>',
        "xl/worksheets/sheet1.xml": '<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
                                    + sheet_data + "</sheetData></worksheet>",
    }


def cell(ref, text):
    return f'<c r="{ref}" t="inlineStr"><is><t>{escape(text)}</t></is></c>'


def question_rows():
    out = []
    for r in range(1, QUESTION_ROWS + 1):
        if r == 1:
            texts = ["题型", "题目", "选项A", "选项B", "选项C", "选项D", "答案"]
        else:
            n = r * 7919
            question = "".join(WORDS[(n + k * 13) % len(WORDS)] for k in range(12 + r % 19))
            options = ["".join(WORDS[(n + o * 31 + k) % len(WORDS)] for k in range(2 + (r + o) % 6))
                       for o in range(4)]
            texts = [TYPES[r % len(TYPES)], f"{r - 1}、{question}？"] + options + ["ABCD"[r % 4]]
        out.append(f'<row r="{r}">' + "".join(cell(f"{'ABCDEFG'[c]}{r}", t) for c, t in enumerate(texts))
                   + "</row>")
    return "".join(out)


def write(folder, name, sheet_data):
    with zipfile.ZipFile(os.path.join(folder, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, text in parts(sheet_data).items():
            z.writestr(part, text)


folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
write(folder, "lone-xfd1048576.xlsx",
      '<row r="1048576">' + cell("XFD1048576", "最后一格") + "</row>")
bank = question_rows()
for below in (5000, 50000, LAST_ROW):
    row = min(QUESTION_ROWS + below, LAST_ROW)
    write(folder, f"stray-{below}.xlsx", bank + f'<row r="{row}">' + cell(f"A{row}", "最后一格") + "</row>")
