#include <gtest/gtest.h>

#include "TestUtil.h"
#include "TestZip.h"
#include "reader/Workbook.h"
#include "reader/Xlsx.h"
#include "reader/Xml.h"

namespace qx::reader {
namespace {

using test::MakeXlsx;
using test::MakeZip;
using test::Show;
using test::TypeAt;
using test::XlsxParts;

Workbook Read(const XlsxParts& parts) {
  Workbook book;
  std::string err;
  EXPECT_TRUE(ReadWorkbook(MakeXlsx(parts), Format::Xlsx, &book, &err)) << err;
  return book;
}

std::string ReadError(const XlsxParts& parts) {
  Workbook book;
  std::string err;
  EXPECT_FALSE(ReadWorkbook(MakeXlsx(parts), Format::Xlsx, &book, &err));
  return err;
}

TEST(Xlsx, SharedStringsRichTextPhoneticAndEmptyEntries) {
  XlsxParts p;
  p.sharedStrings =
      "<si><t>plain</t></si>"
      "<si><r><rPr><b/></rPr><t>粗体</t></r><r><t xml:space=\"preserve\"> 和普通</t></r></si>"
      "<si><t>漢字</t><rPh sb=\"0\" eb=\"2\"><t>かんじ</t></rPh><phoneticPr fontId=\"1\"/></si>"
      "<si><t/></si>"
      "<si><t>  spaced  </t></si>"
      "<si><t>line_x000D_\nnext_x005F_x0041_</t></si>";
  p.sheetData =
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
      "<c r=\"D1\" t=\"s\"><v>3</v></c><c r=\"E1\" t=\"s\"><v>4</v></c><c r=\"F1\" t=\"s\"><v>5</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "plain");
  EXPECT_EQ(Show(b, 0, "B1"), "粗体 和普通");
  EXPECT_EQ(Show(b, 0, "C1"), "漢字");
  EXPECT_EQ(Show(b, 0, "D1"), "");  // the empty entry keeps its slot...
  EXPECT_EQ(Show(b, 0, "E1"), "  spaced  ");  // ...so later indexes stay right
  EXPECT_EQ(Show(b, 0, "F1"), "line\r\nnext_x0041_");
}

TEST(Xlsx, CellTypes) {
  XlsxParts p;
  p.sheetData =
      "<row r=\"1\"><c r=\"A1\"><v>2</v></c><c r=\"B1\" t=\"n\"><v>0.5</v></c><c r=\"C1\" t=\"b\"><v>1</v></c>"
      "<c r=\"D1\" t=\"b\"><v>0</v></c><c r=\"E1\" t=\"e\"><v>#N/A</v></c><c r=\"F1\" t=\"str\"><f>A1&amp;\"x\"</f><v>2x</v></c>"
      "<c r=\"G1\" t=\"inlineStr\"><is><r><t>内</t></r><r><t>联</t></r></is></c>"
      "<c r=\"H1\" t=\"d\"><v>2024-01-15T13:45:30</v></c><c r=\"I1\"><f>1+1</f><v>2</v></c>"
      "<c r=\"J1\"><f>NOW()</f></c><c r=\"K1\" t=\"str\"><f>\"\"</f><v></v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "2");
  EXPECT_EQ(Show(b, 0, "B1"), "0.5");
  EXPECT_EQ(Show(b, 0, "C1"), "-1");
  EXPECT_EQ(Show(b, 0, "D1"), "0");
  EXPECT_EQ(TypeAt(b, 0, "E1"), CellType::Error);
  EXPECT_EQ(Show(b, 0, "E1"), "");
  EXPECT_EQ(b.strings[b.sheets[0].cells[4].textId], "#N/A");
  EXPECT_EQ(Show(b, 0, "F1"), "2x");
  EXPECT_EQ(Show(b, 0, "G1"), "内联");
  EXPECT_EQ(Show(b, 0, "H1"), "2024/1/15 13:45:30");
  EXPECT_EQ(Show(b, 0, "I1"), "2");
  // A formula without a cached result still holds its cell, showing nothing.
  EXPECT_EQ(TypeAt(b, 0, "J1"), CellType::Text);
  EXPECT_EQ(Show(b, 0, "K1"), "");
  EXPECT_EQ(TypeAt(b, 0, "K1"), CellType::Text);
}

// A date cell holds a date, a date-time or a time of day alone; a value
// that is none of them stays the text it is written as.
TEST(Xlsx, DateCellsOfEveryKind) {
  XlsxParts p;
  p.sheetData =
      "<row r=\"1\"><c r=\"A1\" t=\"d\"><v>10:10:10</v></c><c r=\"B1\" t=\"d\"><v>08:05</v></c>"
      "<c r=\"C1\" t=\"d\"><v>23:59:59.5Z</v></c><c r=\"D1\" t=\"d\"><v>2024-01-15</v></c>"
      "<c r=\"E1\" t=\"d\"><v>2024-13-01</v></c><c r=\"F1\" t=\"d\"><v>25:00:00</v></c>"
      "<c r=\"G1\" t=\"d\"><v>10:10:1x</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "10:10:10");
  EXPECT_NEAR(b.sheets[0].cells[0].number, (10 * 3600 + 10 * 60 + 10) / 86400.0, 1e-12);
  EXPECT_EQ(Show(b, 0, "B1"), "8:05:00");
  EXPECT_EQ(Show(b, 0, "C1"), "1899/12/31");  // the half second rounds into the next day
  EXPECT_EQ(Show(b, 0, "D1"), "2024/1/15");
  EXPECT_EQ(TypeAt(b, 0, "E1"), CellType::Text);
  EXPECT_EQ(Show(b, 0, "E1"), "2024-13-01");
  EXPECT_EQ(Show(b, 0, "F1"), "25:00:00");
  EXPECT_EQ(Show(b, 0, "G1"), "10:10:1x");
}

TEST(Xlsx, StyledCellsWithoutValueAreNotStored) {
  XlsxParts p;
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>";
  p.sheetData = "<row r=\"1\"><c r=\"A1\" s=\"1\"/><c r=\"B1\" s=\"1\"><v></v></c></row>"
                "<row r=\"3\"><c r=\"C3\" s=\"1\"/></row>";
  Workbook b = Read(p);
  EXPECT_TRUE(b.sheets[0].cells.empty());
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_TRUE(u.empty);
  EXPECT_EQ(u.rowCount, 1);
}

TEST(Xlsx, CellsAndRowsWithoutReferencesFollowThePreviousOne) {
  XlsxParts p;
  p.sheetData = "<row><c><v>1</v></c><c><v>2</v></c><c r=\"E1\"><v>5</v></c><c><v>6</v></c></row>"
                "<row><c><v>7</v></c></row><row r=\"5\"><c><v>8</v></c></row><row><c r=\"B6\"><v>9</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "1");
  EXPECT_EQ(Show(b, 0, "B1"), "2");
  EXPECT_EQ(Show(b, 0, "E1"), "5");
  EXPECT_EQ(Show(b, 0, "F1"), "6");
  EXPECT_EQ(Show(b, 0, "A2"), "7");
  EXPECT_EQ(Show(b, 0, "A5"), "8");
  EXPECT_EQ(Show(b, 0, "B6"), "9");
}

TEST(Xlsx, UsedRangeComesFromCellsNotFromDimension) {
  XlsxParts p;
  p.sheetXml =
      "<worksheet><dimension ref=\"A1:Z999\"/><sheetData><row r=\"3\"><c r=\"C3\"><v>1</v></c></row>"
      "<row r=\"7\"><c r=\"B7\"><v>2</v></c><c r=\"E7\"><v>3</v></c></row></sheetData>"
      "<mergeCells count=\"1\"><mergeCell ref=\"A1:B2\"/></mergeCells></worksheet>";
  Workbook b = Read(p);
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_FALSE(u.empty);
  EXPECT_EQ(u.firstRow, 3);
  EXPECT_EQ(u.firstCol, 2);
  EXPECT_EQ(u.rowCount, 5);
  EXPECT_EQ(u.colCount, 4);
}

TEST(Xlsx, OneCellAtTheVeryLastAddress) {
  XlsxParts p;
  p.sheetData = "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>";
  Workbook b = Read(p);
  ASSERT_EQ(b.sheets[0].cells.size(), 1u);
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_EQ(u.firstRow, 1048576);
  EXPECT_EQ(u.firstCol, 16384);
  EXPECT_EQ(u.rowCount, 1);
  EXPECT_EQ(u.colCount, 1);
}

TEST(Xlsx, AbsurdAddressesAreErrors) {
  for (const char* data : {"<row r=\"1048577\"><c><v>1</v></c></row>", "<row r=\"99999999999999\"/>",
                           "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>", "<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>",
                           "<row r=\"1\"><c r=\"1A\"><v>1</v></c></row>"}) {
    XlsxParts p;
    p.sheetData = data;
    EXPECT_NE(ReadError(p), "") << data;
  }
  XlsxParts last;
  last.sheetData = "<row r=\"1\"><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>";
  EXPECT_NE(ReadError(last), "");
}

TEST(Xlsx, DatesFromBuiltinAndCustomFormats) {
  XlsxParts p;
  p.numFmts = "<numFmt numFmtId=\"164\" formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
              "<numFmt numFmtId=\"165\" formatCode=\"0&quot; d&quot;\"/>"
              "<numFmt numFmtId=\"166\" formatCode=\"[h]:mm\"/>";
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"22\"/><xf numFmtId=\"164\"/>"
              "<xf numFmtId=\"165\"/><xf numFmtId=\"20\"/><xf numFmtId=\"166\"/>";
  p.sheetData =
      "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>45306</v></c><c r=\"B1\" s=\"2\"><v>45306.573263888888</v></c>"
      "<c r=\"C1\" s=\"3\"><v>45306</v></c><c r=\"D1\" s=\"4\"><v>45306</v></c><c r=\"E1\" s=\"5\"><v>0.5729166666</v></c>"
      "<c r=\"F1\" s=\"6\"><v>1.5</v></c><c r=\"G1\" s=\"1\"><v>-1</v></c><c r=\"H1\" s=\"99\"><v>7</v></c></row>"
      // The 1900 leap-year bug: serials 1 to 60 count a 29 February that
      // never was, so they sit a day behind; 60 itself, that day, shows as
      // the 1 March after it, and 61 onwards need no shift.
      "<row r=\"2\"><c r=\"A2\" s=\"1\"><v>1</v></c><c r=\"B2\" s=\"1\"><v>59</v></c><c r=\"C2\" s=\"1\"><v>61</v></c>"
      "<c r=\"D2\" s=\"2\"><v>0.99999999</v></c><c r=\"E2\" s=\"1\"><v>60</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "B1"), "2024/1/15 13:45:30");
  EXPECT_EQ(Show(b, 0, "C1"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "D1"), "45306");  // "0" d": the quoted d is text
  EXPECT_EQ(Show(b, 0, "E1"), "13:45:00");
  EXPECT_EQ(Show(b, 0, "F1"), "1900/1/1 12:00:00");  // [h]:mm
  EXPECT_EQ(Show(b, 0, "G1"), "-1");   // no negative dates
  EXPECT_EQ(Show(b, 0, "H1"), "7");    // unknown style index: a number
  EXPECT_EQ(Show(b, 0, "A2"), "1900/1/1");
  EXPECT_EQ(Show(b, 0, "B2"), "1900/2/28");
  EXPECT_EQ(Show(b, 0, "C2"), "1900/3/1");
  EXPECT_EQ(Show(b, 0, "D2"), "1899/12/31");  // the time rounds into the next day
  EXPECT_EQ(Show(b, 0, "E2"), "1900/3/1");
}

TEST(Xlsx, Date1904System) {
  XlsxParts p;
  p.workbookPr = "<workbookPr date1904=\"1\"/>";
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>";
  p.sheetData = "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>43844</v></c><c r=\"B1\" s=\"1\"><v>0</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "B1"), "1904/1/1");
}

// The schema's boolean is "true" as well as "1", in the workbook's date
// system flag and in boolean cells alike.
TEST(Xlsx, BooleansSpelledOut) {
  XlsxParts p;
  p.workbookPr = "<workbookPr date1904=\"true\"/>";
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>";
  p.sheetData = "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c><c r=\"B1\" t=\"b\"><v>true</v></c>"
                "<c r=\"C1\" t=\"b\"><v>false</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "1904/1/1");
  EXPECT_EQ(Show(b, 0, "B1"), "-1");
  EXPECT_EQ(Show(b, 0, "C1"), "0");
}

// Writers spell references in capitals; lower case is read all the same.
TEST(Xlsx, LowerCaseCellReferences) {
  XlsxParts p;
  p.sheetData = "<row r=\"2\"><c r=\"b2\"><v>5</v></c><c r=\"aa2\"><v>6</v></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "B2"), "5");
  EXPECT_EQ(Show(b, 0, "AA2"), "6");
}

// A NUL reaches a cell's text through a control-character escape (or as a
// raw byte in a broken file); the cell's text ends there.
TEST(Xlsx, TextEndsAtANul) {
  XlsxParts p;
  p.sharedStrings = "<si><t>b_x0000_c</t></si><si><t>after</t></si>";
  p.sheetData = std::string("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>") +
                "<c r=\"C1\" t=\"inlineStr\"><is><t>d" + std::string(1, '\0') + "e</t></is></c>"
                "<c r=\"D1\" t=\"inlineStr\"><is><t>f_x0000_g</t></is></c></row>";
  Workbook b = Read(p);
  EXPECT_EQ(Show(b, 0, "A1"), "b");
  EXPECT_EQ(Show(b, 0, "B1"), "after");
  EXPECT_EQ(Show(b, 0, "C1"), "d");
  EXPECT_EQ(Show(b, 0, "D1"), "f");
}

TEST(Xlsx, PrefixedNamespacesAndUnsortedDuplicates) {
  XlsxParts p;
  p.sheetXml =
      "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
      "<x:row x:r=\"2\"><x:c r=\"B2\"><x:v>22</x:v></x:c></x:row>"
      "<x:row r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c><x:c r=\"A1\"><x:v>11</x:v></x:c></x:row>"
      "</x:sheetData></x:worksheet>";
  Workbook b = Read(p);
  ASSERT_EQ(b.sheets[0].cells.size(), 2u);
  EXPECT_EQ(b.sheets[0].cells[0].row, 1);
  EXPECT_EQ(Show(b, 0, "A1"), "11");  // the later one wins
  EXPECT_EQ(Show(b, 0, "B2"), "22");
}

TEST(Xlsx, BrokenReferencesAreErrors) {
  XlsxParts p;
  p.sheetData = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>3</v></c></row>";
  p.sharedStrings = "<si><t>only</t></si>";
  EXPECT_NE(ReadError(p).find("共享字符串"), std::string::npos);
  // One past the last entry is already outside the table.
  p.sheetData = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>";
  EXPECT_NE(ReadError(p).find("共享字符串"), std::string::npos);
  p.sheetData = "<row r=\"1\"><c r=\"A1\"><v>abc</v></c></row>";
  EXPECT_NE(ReadError(p).find("数值"), std::string::npos);
  p.sheetData = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>&xxe;</v></c></row>";
  EXPECT_NE(ReadError(p).find("实体"), std::string::npos);
}

std::string WorkbookXml(const std::string& sheets) {
  return "<workbook xmlns:r=\"urn:r\"><sheets>" + sheets + "</sheets></workbook>";
}

std::string Rels(const std::string& body) { return "<Relationships>" + body + "</Relationships>"; }

std::string Rel(const std::string& id, const std::string& type, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"http://x/relationships/" + type + "\" Target=\"" + target + "\"/>";
}

TEST(Xlsx, SheetOrderNamesAndPartPaths) {
  std::string sheet = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>X</t></is></c></row></sheetData></worksheet>";
  std::string other = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>2</v></c></row></sheetData></worksheet>";
  std::string bytes = MakeZip({
      {"xl/workbook.xml", WorkbookXml("<sheet name=\"第一\" r:id=\"rB\"/><sheet name=\"图表\" r:id=\"rC\"/>"
                                      "<sheet name=\"第三\" r:id=\"rA\"/>")},
      {"xl/_rels/workbook.xml.rels", Rels(Rel("rA", "worksheet", "/xl/worksheets/sheet9.xml") +
                                          Rel("rB", "worksheet", "./worksheets/../worksheets/s1.xml") +
                                          Rel("rC", "chartsheet", "chartsheets/sheet1.xml"))},
      {"xl/worksheets/s1.xml", sheet},
      {"xl/worksheets/sheet9.xml", other},
  });
  Workbook b;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(bytes, Format::Xlsx, &b, &err)) << err;
  ASSERT_EQ(b.sheets.size(), 3u);
  EXPECT_EQ(b.sheets[0].name, "第一");
  EXPECT_EQ(b.sheets[1].name, "图表");
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_EQ(Show(b, 0, "A1"), "X");
  EXPECT_EQ(Show(b, 2, "A1"), "2");
}

TEST(Xlsx, MissingPartsAreErrors) {
  Workbook b;
  std::string err;
  std::string noSheetPart = MakeZip({{"xl/workbook.xml", WorkbookXml("<sheet name=\"S\" r:id=\"r1\"/>")},
                                     {"xl/_rels/workbook.xml.rels", Rels(Rel("r1", "worksheet", "worksheets/gone.xml"))}});
  EXPECT_FALSE(ReadWorkbook(noSheetPart, Format::Xlsx, &b, &err));
  EXPECT_NE(err.find("xl/worksheets/gone.xml"), std::string::npos) << err;

  std::string noRel = MakeZip({{"xl/workbook.xml", WorkbookXml("<sheet name=\"S\" r:id=\"r1\"/>")}});
  EXPECT_FALSE(ReadWorkbook(noRel, Format::Xlsx, &b, &err));
  EXPECT_NE(err.find("S"), std::string::npos) << err;

  std::string noWorkbook = MakeZip({{"other.xml", "<a/>"}});
  EXPECT_FALSE(ReadWorkbook(noWorkbook, Format::Xlsx, &b, &err));
  EXPECT_TRUE(b.sheets.empty());

  std::string noSheets = MakeZip({{"xl/workbook.xml", WorkbookXml("")}});
  EXPECT_FALSE(ReadWorkbook(noSheets, Format::Xlsx, &b, &err));
}

// A sheet that cannot be read fails alone when the read keeps listing the
// sheets: what it had added to the texts goes again, so that the ids of
// the sheets after it stay right.
TEST(Xlsx, EachBadSheetFailsAlone) {
  auto sheet = [](const std::string& rows) { return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"; };
  const std::string cut = sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>丢</t></is></c>"
                                "<c r=\"B1\" t=\"e\"><v>#REF!</v></c></row>");
  std::string bytes = MakeZip({
      {"xl/workbook.xml", WorkbookXml("<sheet name=\"甲\" r:id=\"r1\"/><sheet name=\"乙\" r:id=\"r2\"/>"
                                      "<sheet name=\"丙\" r:id=\"r3\"/><sheet name=\"丁\" r:id=\"r4\"/>")},
      {"xl/_rels/workbook.xml.rels", Rels(Rel("r1", "worksheet", "worksheets/a.xml") + Rel("r2", "worksheet", "worksheets/b.xml") +
                                          Rel("r3", "worksheet", "worksheets/c.xml") + Rel("r4", "worksheet", "worksheets/d.xml"))},
      {"xl/worksheets/a.xml", sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>好</t></is></c></row>")},
      {"xl/worksheets/b.xml", cut.substr(0, cut.size() - 12)},
      {"xl/worksheets/c.xml", sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>也丢</t></is></c>"
                                    "<c r=\"B1\"><v>1\n2</v></c></row>")},
      {"xl/worksheets/d.xml", sheet("<row r=\"2\"><c r=\"A2\" t=\"e\"><v>#REF!</v></c><c r=\"B2\" t=\"inlineStr\"><is><t>末</t></is></c></row>")},
  });
  Workbook b;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(bytes, Format::Xlsx, &b, &err, BadSheets::KeepListed)) << err;
  ASSERT_EQ(b.sheets.size(), 4u);
  EXPECT_EQ(b.sheets[1].failure, "工作表“乙”（部件 xl/worksheets/b.xml）的 XML 无效：XML 文档不完整");
  EXPECT_EQ(b.sheets[2].failure, "工作表“丙”中的数值无效：1 2");  // on one line
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_TRUE(b.sheets[2].cells.empty());
  EXPECT_EQ(Show(b, 0, "A1"), "好");
  EXPECT_EQ(Show(b, 3, "B2"), "末");
  const Cell* error = FindCell(b.sheets[3], 2, 1);
  ASSERT_NE(error, nullptr);
  ASSERT_LT(error->textId, b.strings.size());
  EXPECT_EQ(b.strings[error->textId], "#REF!");
  EXPECT_EQ(b.strings.size(), 3u);  // 好, #REF!, 末
  // Read as a whole, the first bad sheet refuses the workbook.
  EXPECT_FALSE(ReadWorkbook(bytes, Format::Xlsx, &b, &err));
  EXPECT_EQ(err, "工作表“乙”（部件 xl/worksheets/b.xml）的 XML 无效：XML 文档不完整");
  EXPECT_TRUE(b.sheets.empty());
}

// Its speed is the benchmark's business (bench/); here only that a big
// sheet is read whole and its shared strings are not copied per cell.
TEST(Xlsx, ManyRowsAreReadWhole) {
  XlsxParts p;
  std::string data;
  for (int r = 1; r <= 20000; ++r) {
    data += "<row r=\"" + std::to_string(r) + "\">";
    for (char c = 'A'; c <= 'G'; ++c) {
      data += std::string("<c r=\"") + c + std::to_string(r) + "\" t=\"s\"><v>" + std::to_string((r * 7 + c) % 50) + "</v></c>";
    }
    data += "</row>";
  }
  for (int i = 0; i < 50; ++i) p.sharedStrings += "<si><t>文本" + std::to_string(i) + "</t></si>";
  p.sheetData = data;
  std::string bytes = MakeXlsx(p);
  Workbook b;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(bytes, Format::Xlsx, &b, &err)) << err;
  EXPECT_EQ(b.sheets[0].cells.size(), 140000u);
  EXPECT_EQ(b.strings.size(), 50u);
}

// Every cell and text of a workbook, for comparing two reads of it.
std::string Dump(const Workbook& b) {
  std::string out;
  for (const Sheet& s : b.sheets) {
    out += "[" + s.name + "]";
    for (const Cell& c : s.cells) {
      out += std::to_string(c.row) + "," + std::to_string(c.col) + "=" + gbk::ToUtf8(CellDisplayText(b, c)) + ";";
    }
    for (const CellPlace& c : s.blankShown) out += "blank " + std::to_string(c.row) + "," + std::to_string(c.col) + ";";
    for (const Span& r : s.hiddenRows) out += "hidden row " + std::to_string(r.first) + "-" + std::to_string(r.last) + ";";
  }
  for (std::string_view t : b.strings) out += std::string(t) + "|";
  return out;
}

// The sheet and shared strings are parsed as they inflate: whatever the
// window, the workbook is the same.
TEST(Xlsx, StreamedPartsReadTheSameThroughAnyWindow) {
  XlsxParts p;
  p.sharedStrings = "<si><t>共享&#x4E2D;&amp;</t></si><si><r><t>富</t></r><r><t>文本\r\n</t></r></si>";
  p.sheetData =
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"inlineStr\"><is><t>&#39064;&#22411;&#12289;&#x1F600;中文</t></is></c></row>"
      "<row r=\"2\"><c r=\"A2\"><v>3.25</v></c><c r=\"B2\" t=\"b\"><v>1</v></c>"
      "<c r=\"C2\" t=\"str\"><f>A1</f><v>x&lt;y</v></c><c r=\"D2\" t=\"e\"><v>#N/A</v></c></row>";
  const std::string bytes = MakeXlsx(p);
  Workbook whole;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(bytes, Format::Xlsx, &whole, &err)) << err;
  EXPECT_EQ(Show(whole, 0, "C1"), "题型、??中文");  // GBK has no emoji
  for (size_t window : {1, 2, 3, 7, 16, 100}) {
    Workbook b;
    ASSERT_TRUE(ReadXlsx(bytes, &b, &err, window)) << err;
    EXPECT_EQ(Dump(b), Dump(whole)) << "window " << window;
  }
}

// The cells and shared strings that are read straight from the bytes
// (when whole in the window) give what the tokenizer gives (a window too
// small to hold any of them): every spelling they take, and the ones just
// beside that they leave to it.
TEST(Xlsx, PlainCellsReadAsTheTokenizerReadsThem) {
  XlsxParts p;
  p.sharedStrings =
      "<si><t>共享</t></si><si><t xml:space=\"preserve\"> 空格 </t></si><si><t>a_x000D_b&#95;x0041_</t></si>"
      "<si><t>&#39064;&amp;\r\n</t></si><si><t/></si><si><r><t>富</t></r></si><si><t>x</t><rPh><t>p</t></rPh></si>"
      "<si><t>0123456789abcdef0123456789abcdef中文</t></si>";
  p.numFmts = "<numFmt numFmtId=\"164\" formatCode=\";;;\"/>";
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>";
  p.sheetData =
      "<row r=\"1\" hidden=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c t=\"s\" r=\"B1\"><v>1</v></c><c s=\"1\" r=\"C1\"><v>45306</v></c>"
      "<c r=\"D1\" t=\"s\" s=\"0\"><v>2</v></c><c r=\"E1\" t=\"s\"><v>3</v></c><c r=\"F1\" t=\"s\"><v>4</v></c>"
      "<c r=\"G1\" t=\"s\"><v>5</v></c><c r=\"H1\" t=\"s\"><v>6</v></c><c r=\"I1\" t=\"s\"><v>7</v></c></row>"
      "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>&#39064;&#22411;&#12289;&#128512;&#x4E2D;</t></is></c>"
      "<c r=\"B2\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> 前后 </t></is></c>"
      "<c r=\"C2\" t=\"inlineStr\"><is><t>_x0041_&lt;\r\n</t></is></c><c r=\"D2\" t=\"inlineStr\"><is><t></t></is></c>"
      "<c r=\"E2\" t=\"inlineStr\"><v>值</v></c><c r=\"F2\" t=\"str\"><v></v></c><c r=\"G2\"><v></v></c>"
      "<c r=\"H2\" t=\"b\"><v>1</v></c><c r=\"I2\" t=\"e\"><v>#N/A</v></c><c r=\"J2\" t=\"d\"><v>2024-01-15</v></c>"
      "<c r=\"K2\" t=\"d\"><v>not a date</v></c><c r=\"L2\" s=\"1\"/><c r=\"M2\"></c><c r=\"N2\" t=\"n\"><v>1.5</v></c><c r=\"O2\" s=\"2\" t=\"s\"><v>0</v></c></row>"
      // Beside the plain spellings: left to the tokenizer, read all the same.
      "<row r=\"3\"><c r='A3'><v>1</v></c><c  r=\"B3\"><v>2</v></c><c r=\"C3\" x:r=\"Z9\"><v>3</v></c>"
      "<c r=\"D3\" r=\"E3\"><v>4</v></c><c r=\"E3\"><v>&#53;</v></c><c r=\"F3\"><v>6\r</v></c>"
      "<c r=\"G3\" t=\"str\"><f>1</f><v>7</v></c><c r=\"H3\"><v/></c><c r=\"I3\" t=\"inlineStr\"><is><r><t>8</t></r></is></c>"
      "<c r=\"J3\" t=\"inlineStr\"><is><t>9</t><rPh><t>no</t></rPh></is></c><c r=\"K3\">\n<v>10</v></c>"
      "<c r=\"L3\" t=\"inlineStr\"><is><t><![CDATA[<11>]]></t></is></c><c r=\"M3\" s=\"a&#9;b\"><v>12</v></c>"
      "<c r=\"N3\" t=\"&#115;\"><v>0</v></c><c r=\"&#79;3\"><v>17</v></c></row>"
      "\n  <row r=\"4\">\n    <c r=\"A4\"><v>13</v></c>\n    <c><v>14</v></c><c t=\"s\"><v>0</v></c>\n  </row>"
      "<row><c r=\"b5\"><v>15</v></c></row><x:row r=\"6\"><x:c r=\"A6\"><x:v>16</x:v></x:c></x:row>";
  const std::string bytes = MakeXlsx(p);
  Workbook plain;
  std::string err;
  ASSERT_TRUE(ReadXlsx(bytes, &plain, &err)) << err;
  EXPECT_EQ(Show(plain, 0, "A2"), "题型、??中");
  EXPECT_EQ(Show(plain, 0, "C2"), "A<\n");
  EXPECT_EQ(Show(plain, 0, "D1"), "a\rbA");  // &#95; makes an escape too, as it did
  EXPECT_EQ(Show(plain, 0, "C3"), "3");
  EXPECT_EQ(Show(plain, 0, "N3"), "共享");  // t="s", spelt as a reference
  EXPECT_EQ(Show(plain, 0, "O3"), "17");
  EXPECT_EQ(Show(plain, 0, "C4"), "共享");
  ASSERT_EQ(plain.sheets[0].blankShown.size(), 1u);  // O2, whose format shows nothing
  ASSERT_EQ(plain.sheets[0].hiddenRows.size(), 1u);
  for (size_t window : {1, 5, 64}) {
    Workbook b;
    ASSERT_TRUE(ReadXlsx(bytes, &b, &err, window)) << err;
    EXPECT_EQ(Dump(b), Dump(plain)) << "window " << window;
  }
  // Plain cells that are wrong fail as the tokenizer's reading of them does.
  for (const char* cell : {"<c r=\"A0\"><v>1</v></c>", "<c r=\"XFE1\"><v>1</v></c>", "<c r=\"A1\"><v>1 2</v></c>",
                           "<c r=\"A1\" t=\"s\"><v>9</v></c>", "<c r=\"A1\" t=\"s\"><v>x</v></c>",
                           "<c r=\"A1\" t=\"inlineStr\"><is><t>&#0;</t></is></c>",
                           "<c r=\"A1\" t=\"inlineStr\"><is><t>&bad;</t></is></c>",
                           "<c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row></sheetData>"}) {
    XlsxParts q = p;
    q.sheetData = std::string("<row r=\"1\">") + cell + "</row>";
    const std::string broken = MakeXlsx(q);
    Workbook b;
    std::string expected;
    EXPECT_FALSE(ReadXlsx(broken, &b, &expected, 1)) << cell;
    EXPECT_FALSE(ReadXlsx(broken, &b, &err)) << cell;
    EXPECT_EQ(err, expected) << cell;
  }
}

// Cells nested so deep that their text would pass the tokenizer's limit
// are refused however they are read.
TEST(Xlsx, PlainCellsKeepTheNestingLimit) {
  XlsxParts p;
  const size_t wrappers = xml::Reader::kMaxDepth - 4;  // worksheet, sheetData, row: c and is fit, t does not
  std::string open, close;
  for (size_t i = 0; i < wrappers; ++i) {
    open += "<w>";
    close += "</w>";
  }
  p.sheetXml = "<worksheet>" + open + "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>深</t></is></c>"
               "</row></sheetData>" + close + "</worksheet>";
  const std::string bytes = MakeXlsx(p);
  for (size_t window : {size_t{1}, xml::Reader::kDefaultWindow}) {
    Workbook b;
    std::string err;
    EXPECT_FALSE(ReadXlsx(bytes, &b, &err, window)) << window;
    EXPECT_NE(err.find("XML 嵌套太深"), std::string::npos) << err;
  }
}

// A damaged part is reported as damaged even when its damage made the
// parse fail first, as when parts were checked whole before being parsed.
TEST(Xlsx, DamageOutranksWhatTheDamagedPartSays) {
  XlsxParts p;
  p.sheetData = "<row r=\"1\"><c r=\"A1\"><v>not a number</v></c></row>";
  for (int i = 0; i < 2000; ++i) p.sheetData += "<row><c><v>1</v></c></row>";
  std::string bytes = MakeXlsx(p);
  EXPECT_NE(ReadError(p).find("数值"), std::string::npos);
  test::PatchCentral32(&bytes, "xl/worksheets/sheet1.xml", test::kCentralCrc, 0);
  for (size_t window : {64, 1 << 16}) {
    Workbook b;
    std::string err;
    EXPECT_FALSE(ReadXlsx(bytes, &b, &err, window));
    EXPECT_EQ(err, "工作表“Data”（部件 xl/worksheets/sheet1.xml）：压缩包已损坏：校验和不符");
  }
  // Data cut short is as much damage as a wrong checksum.
  p.sheetData = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
  bytes = MakeXlsx(p);
  test::PatchCentral32(&bytes, "xl/worksheets/sheet1.xml", test::kCentralCompressedSize, 10);
  Workbook b;
  std::string err;
  EXPECT_FALSE(ReadWorkbook(bytes, Format::Xlsx, &b, &err));
  EXPECT_EQ(err, "工作表“Data”（部件 xl/worksheets/sheet1.xml）：压缩包已损坏：压缩数据无效或不完整");
}

}  // namespace
}  // namespace qx::reader
