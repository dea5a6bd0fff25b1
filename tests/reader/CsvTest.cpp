#include <gtest/gtest.h>

#include "TestUtil.h"
#include "reader/Csv.h"
#include "reader/Workbook.h"

namespace qx::reader {
namespace {

using test::Show;

Workbook Read(std::string_view bytes) {
  Workbook b;
  std::string err;
  EXPECT_TRUE(ReadWorkbook(bytes, Format::Csv, &b, &err)) << err;
  return b;
}

TEST(Csv, EncodingsAreRecognised) {
  Workbook bom = Read("\xEF\xBB\xBF题型,题目\r\n单选题,1+1=?\r\n");
  EXPECT_EQ(Show(bom, 0, "A1"), "题型");
  EXPECT_EQ(Show(bom, 0, "B2"), "1+1=?");
  Workbook utf8 = Read("题型,题目\n");
  EXPECT_EQ(Show(utf8, 0, "A1"), "题型");
  // "题型,题目" in GBK; 0x5C ('\') as a trail byte must not confuse anything.
  Workbook gbk = Read("\xCC\xE2\xD0\xCD,\xCC\xE2\xC4\xBF,\x95\x5C\n");
  EXPECT_EQ(Show(gbk, 0, "A1"), "题型");
  EXPECT_EQ(Show(gbk, 0, "B1"), "题目");
  EXPECT_EQ(gbk.strings[2], "昞");
}

TEST(Csv, QuotingAndLineEnds) {
  Workbook b = Read("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",x\ry\n\"end\"tail,\"unterminated\n,z");
  EXPECT_EQ(Show(b, 0, "A1"), "a");
  EXPECT_EQ(Show(b, 0, "B1"), "b,c");
  EXPECT_EQ(Show(b, 0, "C1"), "say \"hi\"");
  EXPECT_EQ(Show(b, 0, "A2"), "two\r\nlines");
  EXPECT_EQ(Show(b, 0, "B2"), "x");
  EXPECT_EQ(Show(b, 0, "A3"), "y");
  EXPECT_EQ(Show(b, 0, "A4"), "endtail");
  EXPECT_EQ(Show(b, 0, "B4"), "unterminated\n,z");
}

TEST(Csv, FieldsAreTextAsWrittenAndEmptyOnesAreNotStored) {
  Workbook b = Read("007,1.50,,=1+1,TRUE\n\n,,x,\n");
  EXPECT_EQ(Show(b, 0, "A1"), "007");
  EXPECT_EQ(Show(b, 0, "B1"), "1.50");
  EXPECT_EQ(Show(b, 0, "C1"), "<none>");
  EXPECT_EQ(Show(b, 0, "D1"), "=1+1");
  EXPECT_EQ(Show(b, 0, "E1"), "TRUE");
  EXPECT_EQ(Show(b, 0, "C3"), "x");
  EXPECT_EQ(b.sheets[0].cells.size(), 5u);
  for (const Cell& c : b.sheets[0].cells) EXPECT_EQ(c.type, CellType::Text);
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_EQ(u.rowCount, 3);  // the trailing line end adds no row
  EXPECT_EQ(b.sheets[0].name, "Sheet1");
}

// A field may hold a NUL byte; the cell's text stops there, and the
// fields and rows after it are read as usual.
TEST(Csv, TextEndsAtANul) {
  static const char kBytes[] = "a,b\0c\n单选题,x\n";
  Workbook b = Read(std::string_view(kBytes, sizeof kBytes - 1));
  EXPECT_EQ(Show(b, 0, "B1"), "b");
  EXPECT_EQ(Show(b, 0, "A2"), "单选题");
  EXPECT_EQ(Show(b, 0, "B2"), "x");
}

// A line wider than a sheet is refused, not stored beyond the last column.
TEST(Csv, ColumnsPastTheLastAreRefused) {
  std::string widest(kMaxCol - 1, ',');
  widest += "x\n";
  Workbook b = Read(widest);
  EXPECT_EQ(Show(b, 0, "XFD1"), "x");
  Workbook tooWide;
  std::string err;
  EXPECT_FALSE(ReadWorkbook("," + widest, Format::Csv, &tooWide, &err));
  EXPECT_NE(err.find("列数"), std::string::npos) << err;
}

TEST(Csv, EmptyFileIsOneEmptySheet) {
  Workbook b = Read("");
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_TRUE(GetUsedRange(b.sheets[0]).empty);
  Workbook named;
  std::string err;
  ASSERT_TRUE(ReadCsv("x", "题库", &named, &err));
  EXPECT_EQ(named.sheets[0].name, "题库");
}

}  // namespace
}  // namespace qx::reader
