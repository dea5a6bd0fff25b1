#!/usr/bin/python3
"""Writes the benchmark's question bank: 10,000 rows x 7 columns of Chinese
text, as .xlsx with shared strings (the way the common spreadsheet
applications write it), as .xlsx with inline strings (openpyxl) and as .xls
(xlwt), into the folder given. With --tall, also the inline-string bank four
times taller (bank-40000x7-inline.xlsx), for memory that should not grow
with the inflated sheet.

Needs Debian's python3-openpyxl and python3-xlwt (bench/run.sh installs
them). Deterministic: the same files every time.
"""
import os
import random
import sys
import zipfile
from xml.sax.saxutils import escape

import openpyxl
import xlwt

ROWS, COLS = 10000, 7
TYPES = ["单选题", "多选题", "判断题", "填空题", "简答题", "论述题", "计算题"]
WORDS = ("题目内容选项答案解析光合作用二氧化碳水分子能量守恒定律细胞结构"
         "历史地理物理化学生物数学语文英语政治函数方程几何代数概率统计")


def rows(count=ROWS):
    rng = random.Random(20261208)
    yield ["题型", "题目", "选项A", "选项B", "选项C", "选项D", "答案"]
    for i in range(1, count):
        question = "".join(rng.choice(WORDS) for _ in range(rng.randint(12, 30)))
        options = ["".join(rng.choice(WORDS) for _ in range(rng.randint(2, 8)))
                   for _ in range(4)]
        yield [TYPES[i % len(TYPES)], f"{i}、{question}？"] + options + ["ABCD"[i % 4]]


def write_shared_strings_xlsx(path, data):
    strings, index = [], {}
    sheet = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
             f'<dimension ref="A1:G{len(data)}"/><sheetData>']
    for r, row in enumerate(data, 1):
        sheet.append(f'<row r="{r}">')
        for c, v in enumerate(row):
            if v not in index:
                index[v] = len(strings)
                strings.append(v)
            sheet.append(f'<c r="{"ABCDEFG"[c]}{r}" t="s"><v>{index[v]}</v></c>')
        sheet.append('</row>')
    sheet.append('</sheetData></worksheet>')
    sst = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
           f'count="{sum(len(r) for r in data)}" uniqueCount="{len(strings)}">']
    sst += [f'<si><t>{escape(s)}</t></si>' for s in strings]
    sst.append('</sst>')
    ns = 'http://schemas.openxmlformats.org'
    parts = {
        '[Content_Types].xml':
            '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="' + ns + '/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
            '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
            '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
            '</Types>',
        '_rels/.rels':
            '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="' + ns + '/package/2006/relationships">'
            '<Relationship Id="rId1" Type="' + ns + '/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
            '</Relationships>',
        'xl/workbook.xml':
            '<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="' + ns + '/spreadsheetml/2006/main" '
            'xmlns:r="' + ns + '/officeDocument/2006/relationships"><sheets>'
            '<sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>',
        'xl/_rels/workbook.xml.rels':
            '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="' + ns + '/package/2006/relationships">'
            '<Relationship Id="rId1" Type="' + ns + '/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
            '<Relationship Id="rId2" Type="' + ns + '/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
            '</Relationships>',
        'xl/worksheets/sheet1.xml': ''.join(sheet),
        'xl/sharedStrings.xml': ''.join(sst),
    }
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text.encode('utf-8'))


def write_inline_xlsx(path, data):
    wb = openpyxl.Workbook()
    ws = wb.active
    for r in data:
        ws.append(r)
    wb.save(path)


def main():
    args = [a for a in sys.argv[1:] if a != "--tall"]
    out = args[0] if args else "."
    os.makedirs(out, exist_ok=True)
    if "--tall" in sys.argv[1:]:
        write_inline_xlsx(os.path.join(out, f"bank-{ROWS * 4}x7-inline.xlsx"), list(rows(ROWS * 4)))
        return
    data = list(rows())

    write_inline_xlsx(os.path.join(out, "bank-10000x7-inline.xlsx"), data)
    write_shared_strings_xlsx(os.path.join(out, "bank-10000x7.xlsx"), data)

    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Sheet1")
    for i, r in enumerate(data):
        for j, v in enumerate(r):
            sheet.write(i, j, v)
    book.save(os.path.join(out, "bank-10000x7.xls"))


if __name__ == "__main__":
    main()
