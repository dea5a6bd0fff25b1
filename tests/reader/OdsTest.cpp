#include <gtest/gtest.h>

#include <chrono>

#include "TestUtil.h"
#include "TestZip.h"
#include "reader/Workbook.h"

namespace qx::reader {
namespace {

using test::MakeOds;
using test::Show;
using test::TypeAt;

bool ReadOdsTables(const std::string& tables, Workbook* b, std::string* err) {
  return ReadWorkbook(MakeOds(tables), Format::Ods, b, err);
}

Workbook Read(const std::string& tables) {
  Workbook b;
  std::string err;
  EXPECT_TRUE(ReadOdsTables(tables, &b, &err)) << err;
  return b;
}

std::string Table(const std::string& name, const std::string& rows) {
  return "<table:table table:name=\"" + name + "\">" + rows + "</table:table>";
}

TEST(Ods, ValueTypes) {
  Workbook b = Read(Table("值",
      "<table:table-row>"
      "<table:table-cell office:value-type=\"float\" office:value=\"2\"><text:p>2.00</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25%</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"currency\" office:currency=\"CNY\" office:value=\"9.5\"/>"
      "<table:table-cell office:value-type=\"date\" office:date-value=\"2024-01-15\"/>"
      "<table:table-cell office:value-type=\"date\" office:date-value=\"2024-01-15T13:45:30\"/>"
      "<table:table-cell office:value-type=\"time\" office:time-value=\"PT13H45M00S\"/>"
      "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"/>"
      "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"false\"/>"
      "<table:table-cell office:value-type=\"string\" calcext:value-type=\"error\" table:formula=\"of:=1/0\"><text:p>#DIV/0!</text:p></table:table-cell>"
      "<table:table-cell table:formula=\"of:=1/0\" office:value-type=\"string\" office:string-value=\"#DIV/0!\"><text:p>#DIV/0!</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><text:p>文本</text:p></table:table-cell>"
      "</table:table-row>"));
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_EQ(b.sheets[0].name, "值");
  EXPECT_EQ(Show(b, 0, "A1"), "2");
  EXPECT_EQ(Show(b, 0, "B1"), "0.25");
  EXPECT_EQ(Show(b, 0, "C1"), "9.5");
  EXPECT_EQ(Show(b, 0, "D1"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "E1"), "2024/1/15 13:45:30");
  EXPECT_EQ(Show(b, 0, "F1"), "13:45:00");
  EXPECT_EQ(Show(b, 0, "G1"), "-1");
  EXPECT_EQ(Show(b, 0, "H1"), "0");
  EXPECT_EQ(TypeAt(b, 0, "I1"), CellType::Error);
  EXPECT_EQ(TypeAt(b, 0, "J1"), CellType::Error);  // gnumeric's way of writing errors
  EXPECT_EQ(Show(b, 0, "K1"), "文本");
}

TEST(Ods, ParagraphsSpansAndSpaces) {
  Workbook b = Read(Table("T",
      "<table:table-row>"
      "<table:table-cell office:value-type=\"string\"><text:p>第一段</text:p><text:p>第二段</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><text:p>a<text:s text:c=\"3\"/>b<text:tab/>c<text:line-break/>d</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><text:p><text:span text:style-name=\"T1\">粗</text:span>体 <text:a xlink:href=\"x\">链接</text:a></text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><office:annotation><text:p>批注</text:p></office:annotation><text:p>正文</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><text:p>  x   y  </text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"string\"><text:p/><text:p>&lt;&amp;&gt;</text:p></table:table-cell>"
      "</table:table-row>"));
  EXPECT_EQ(Show(b, 0, "A1"), "第一段\n第二段");
  EXPECT_EQ(Show(b, 0, "B1"), "a   b\tc\nd");
  EXPECT_EQ(Show(b, 0, "C1"), "粗体 链接");
  EXPECT_EQ(Show(b, 0, "D1"), "正文");
  EXPECT_EQ(Show(b, 0, "E1"), "  x   y  ");  // blanks stay as written
  EXPECT_EQ(Show(b, 0, "F1"), "\n<&>");
}

TEST(Ods, RepeatsAndCoveredCells) {
  Workbook b = Read(Table("T",
      "<table:table-column table:number-columns-repeated=\"16384\"/>"
      "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell table:number-columns-repeated=\"3\"/>"
      "<table:table-cell office:value-type=\"float\" office:value=\"7\" table:number-columns-repeated=\"2\"/></table:table-row>"
      "<table:table-row><table:table-cell table:number-columns-spanned=\"2\" office:value-type=\"string\"><text:p>合并</text:p></table:table-cell>"
      "<table:covered-table-cell/><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
      "<table:table-cell table:number-columns-repeated=\"16380\"/></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"1048573\"><table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>"));
  const Sheet& s = b.sheets[0];
  ASSERT_EQ(s.cells.size(), 6u);
  EXPECT_EQ(Show(b, 0, "D1"), "7");
  EXPECT_EQ(Show(b, 0, "E2"), "7");
  EXPECT_EQ(Show(b, 0, "A3"), "合并");
  EXPECT_EQ(Show(b, 0, "B3"), "<none>");
  EXPECT_EQ(Show(b, 0, "C3"), "1");
  // Repeated cells share one string.
  EXPECT_EQ(FindCell(s, 1, 4)->textId, FindCell(s, 2, 5)->textId);
  UsedRange u = GetUsedRange(s);
  EXPECT_EQ(u.rowCount, 3);
  EXPECT_EQ(u.colCount, 5);
}

TEST(Ods, HugeEmptyRepeatsCostNothing) {
  std::string rows;
  rows += "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>";
  for (int i = 0; i < 200; ++i) {
    rows += "<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>";
  }
  auto start = std::chrono::steady_clock::now();
  Workbook b = Read(Table("T", rows));
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(b.sheets[0].cells.size(), 1u);
  // Not a speed target: walking the 3.3 trillion empty cells one by one
  // would take hours, so even a loaded machine under sanitizers stays far
  // below this bound when the repeats are skipped whole.
  EXPECT_LT(ms, 20000);
}

TEST(Ods, NonEmptyRepeatsAreExpandedWithinBounds) {
  Workbook b = Read(Table("T",
      "<table:table-row table:number-rows-repeated=\"1000\"><table:table-cell office:value-type=\"string\" "
      "table:number-columns-repeated=\"10\"><text:p>同</text:p></table:table-cell></table:table-row>"));
  EXPECT_EQ(b.sheets[0].cells.size(), 10000u);
  EXPECT_EQ(b.strings.size(), 1u);

  Workbook bad;
  std::string err;
  // Values past the last row or column are corrupt, not something to allocate.
  EXPECT_FALSE(ReadOdsTables(Table("T", "<table:table-row table:number-rows-repeated=\"1048577\"><table:table-cell "
                                        "office:value-type=\"float\" office:value=\"1\"/></table:table-row>"),
                             &bad, &err));
  EXPECT_FALSE(ReadOdsTables(Table("T", "<table:table-row><table:table-cell table:number-columns-repeated=\"16384\"/>"
                                        "<table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>"),
                             &bad, &err));
  // A million rows of 16384 values would be 17 billion cells: refused.
  EXPECT_FALSE(ReadOdsTables(Table("T", "<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
                                        "table:number-columns-repeated=\"16384\" office:value-type=\"float\" office:value=\"1\"/>"
                                        "</table:table-row>"),
                             &bad, &err));
  EXPECT_NE(err.find("上限"), std::string::npos) << err;
}

TEST(Ods, TablesInOrderAndMissingContent) {
  Workbook b = Read(Table("一", "") + Table("二", "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"3\"/></table:table-row>"));
  ASSERT_EQ(b.sheets.size(), 2u);
  EXPECT_EQ(b.sheets[0].name, "一");
  EXPECT_TRUE(b.sheets[0].cells.empty());
  EXPECT_EQ(Show(b, 1, "A1"), "3");

  Workbook none;
  std::string err;
  EXPECT_FALSE(ReadWorkbook(test::MakeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", false}}),
                            Format::Ods, &none, &err));
  EXPECT_NE(err.find("content.xml"), std::string::npos);
}

}  // namespace
}  // namespace qx::reader
