// What a sheet shows of its cells: hidden rows and columns and the cells
// whose number format shows nothing, as .xlsx and .ods writers mark them.
// The cells themselves are read as always.
#include <gtest/gtest.h>

#include "TestUtil.h"
#include "TestZip.h"
#include "reader/NumberFormat.h"
#include "reader/Visibility.h"
#include "reader/Workbook.h"

namespace qx::reader {
namespace {

using test::MakeOds;
using test::MakeXlsx;
using test::Show;
using test::XlsxParts;

std::vector<std::pair<int32_t, int32_t>> Spans(const std::vector<Span>& spans) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const Span& s : spans) out.emplace_back(s.first, s.last);
  return out;
}

TEST(Visibility, FormatSectionsThatShowNothing) {
  EXPECT_EQ(HiddenValuesOf(";;;"), kHidesPositive | kHidesNegative | kHidesZero | kHidesText);
  EXPECT_EQ(HiddenValuesOf(";;"), kHidesPositive | kHidesNegative | kHidesZero);
  EXPECT_EQ(HiddenValuesOf("0;-0;;@"), kHidesZero);
  EXPECT_EQ(HiddenValuesOf("0;"), kHidesNegative);
  EXPECT_EQ(HiddenValuesOf(";0"), kHidesPositive | kHidesZero);  // zero takes the first section
  EXPECT_EQ(HiddenValuesOf("[Red];[Blue];;"), kHidesPositive | kHidesNegative | kHidesZero | kHidesText);
  // Text of its own shows, even a quoted space, an escape or a fill.
  EXPECT_EQ(HiddenValuesOf("\" \";\\-;_);*x"), 0);
  EXPECT_EQ(HiddenValuesOf("\";\";"), kHidesNegative) << "a quoted ; ends no section";
  EXPECT_EQ(HiddenValuesOf(""), 0);
  EXPECT_EQ(HiddenValuesOf("General"), 0);
  EXPECT_EQ(HiddenValuesOf("[>9];;"), 0) << "conditions are not judged";
  EXPECT_EQ(HiddenValuesOf(";;;;"), 0) << "five sections is no format";
  EXPECT_TRUE(HidesNumber(kHidesZero, 0.0));
  EXPECT_FALSE(HidesNumber(kHidesZero, -0.5));
  EXPECT_TRUE(HidesNumber(kHidesNegative, -0.5));
}

TEST(Visibility, XlsxHiddenRowsColumnsAndBlankFormats) {
  XlsxParts p;
  p.numFmts = "<numFmt numFmtId=\"164\" formatCode=\";;;\"/><numFmt numFmtId=\"165\" formatCode=\"0;-0;;@\"/>";
  p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>";
  p.sheetXml =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<cols><col min=\"1\" max=\"1\" width=\"9\" hidden=\"1\"/><col min=\"3\" max=\"5\" hidden=\"true\"/>"
      "<col min=\"6\" max=\"6\" hidden=\"0\"/></cols><sheetData>"
      "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>隐藏列</t></is></c><c r=\"B1\" s=\"1\"><v>7</v></c></row>"
      "<row r=\"2\" hidden=\"1\"><c r=\"B2\" s=\"2\"><v>0</v></c><c r=\"C2\" s=\"2\"><v>3</v></c></row>"
      "<row r=\"3\" hidden=\"1\"/><row r=\"4\" hidden=\"false\"><c r=\"B4\" s=\"1\" t=\"inlineStr\"><is><t>t</t></is></c></row>"
      "<row r=\"9\" hidden=\"1\"/>"
      "</sheetData></worksheet>";
  Workbook b;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(MakeXlsx(p), Format::Xlsx, &b, &err)) << err;
  const Sheet& s = b.sheets[0];
  EXPECT_EQ(Spans(s.hiddenRows), (std::vector<std::pair<int32_t, int32_t>>{{2, 3}, {9, 9}}));
  EXPECT_EQ(Spans(s.hiddenColumns), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {3, 5}}));
  EXPECT_TRUE(RowHidden(s, 3));
  EXPECT_FALSE(RowHidden(s, 4));
  EXPECT_TRUE(ColumnHidden(s, 4));
  EXPECT_FALSE(ColumnHidden(s, 6));
  EXPECT_TRUE(ShownAsNothing(s, 1, 2));   // 7 under ;;;
  EXPECT_TRUE(ShownAsNothing(s, 2, 2));   // 0 under 0;-0;;@
  EXPECT_FALSE(ShownAsNothing(s, 2, 3));  // 3 under 0;-0;;@
  EXPECT_TRUE(ShownAsNothing(s, 4, 2));   // text under ;;;
  EXPECT_FALSE(ShownAsNothing(s, 1, 1));
  // Nothing of it changes what the cells hold.
  EXPECT_EQ(Show(b, 0, "A1"), "隐藏列");
  EXPECT_EQ(Show(b, 0, "B1"), "7");
  EXPECT_EQ(Show(b, 0, "B2"), "0");
}

TEST(Visibility, OdsCollapsedAndFilteredRowsAndColumns) {
  const std::string tables =
      "<table:table table:name=\"T\">"
      "<table:table-column table:visibility=\"collapse\"/>"
      "<table:table-column table:number-columns-repeated=\"2\"/>"
      "<table:table-header-columns><table:table-column table:number-columns-repeated=\"2\" "
      "table:visibility=\"filter\"/></table:table-header-columns>"
      "<table:table-row table:visibility=\"collapse\"><table:table-cell office:value-type=\"string\">"
      "<text:p>a</text:p></table:table-cell></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell/></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"2\" table:visibility=\"filter\"/>"
      "<table:table-row table:visibility=\"visible\"><table:table-cell office:value-type=\"string\">"
      "<text:p>b</text:p></table:table-cell></table:table-row>"
      "</table:table>";
  Workbook b;
  std::string err;
  ASSERT_TRUE(ReadWorkbook(MakeOds(tables), Format::Ods, &b, &err)) << err;
  const Sheet& s = b.sheets[0];
  EXPECT_EQ(Spans(s.hiddenRows), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {5, 6}}));
  EXPECT_EQ(Spans(s.hiddenColumns), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {4, 5}}));
  EXPECT_EQ(Show(b, 0, "A1"), "a");
  EXPECT_EQ(Show(b, 0, "A7"), "b");
}

}  // namespace
}  // namespace qx::reader
