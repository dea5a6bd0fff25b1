#include <gtest/gtest.h>

#include <cstring>

#include "TestUtil.h"
#include "TestZip.h"
#include "reader/Workbook.h"

namespace qx::reader {
namespace {

std::string Display(CellType type, double number) {
  Workbook b;
  return gbk::ToUtf8(CellDisplayText(b, Cell{1, 1, number, 0, type}));
}

TEST(CellDisplayText, NumbersAsPercent15G) {
  EXPECT_EQ(Display(CellType::Number, 2), "2");
  EXPECT_EQ(Display(CellType::Number, 0.5), "0.5");
  EXPECT_EQ(Display(CellType::Number, 1.0 / 3), "0.333333333333333");
  EXPECT_EQ(Display(CellType::Number, 1e15), "1E+15");
  EXPECT_EQ(Display(CellType::Number, 1e-5), "1E-05");
  EXPECT_EQ(Display(CellType::Number, 123456789012345.0), "123456789012345");
  EXPECT_EQ(Display(CellType::Number, 1.5e300), "1.5E+300");
  EXPECT_EQ(Display(CellType::Number, -2.25), "-2.25");
  EXPECT_EQ(Display(CellType::Number, -0.0), "0");
  EXPECT_EQ(Display(CellType::Number, 0.1 + 0.2), "0.3");
}

TEST(CellDisplayText, BooleansErrorsAndText) {
  EXPECT_EQ(Display(CellType::Boolean, 1), "-1");
  EXPECT_EQ(Display(CellType::Boolean, 0), "0");
  Workbook b;
  b.strings = {"#N/A", "中文€한"};
  EXPECT_EQ(CellDisplayText(b, Cell{1, 1, 0, 0, CellType::Error}), "");
  EXPECT_EQ(CellDisplayText(b, Cell{1, 1, 0, 1, CellType::Text}), "\xD6\xD0\xCE\xC4\x80?");
  EXPECT_EQ(CellDisplayText(b, Cell{1, 1, 0, 9, CellType::Text}), "");  // bad id: nothing, no crash
}

TEST(CellDisplayText, DatesAndTimes) {
  EXPECT_EQ(Display(CellType::DateTime, 45306), "2024/1/15");
  EXPECT_EQ(Display(CellType::DateTime, 45306 + (13 * 3600 + 45 * 60 + 30) / 86400.0), "2024/1/15 13:45:30");
  EXPECT_EQ(Display(CellType::DateTime, (13 * 60 + 45) / 1440.0), "13:45:00");
  EXPECT_EQ(Display(CellType::DateTime, (9 * 60 + 5) / 1440.0), "9:05:00");
  EXPECT_EQ(Display(CellType::DateTime, 0), "0:00:00");
  EXPECT_EQ(Display(CellType::DateTime, 2), "1900/1/1");
  EXPECT_EQ(Display(CellType::DateTime, 2958465), "9999/12/31");
  // Rounded to whole seconds, carrying into the next day.
  EXPECT_EQ(Display(CellType::DateTime, 45306 + 0.4999 / 86400), "2024/1/15");
  EXPECT_EQ(Display(CellType::DateTime, 45306 + 59.6 / 86400), "2024/1/15 0:01:00");
  EXPECT_EQ(Display(CellType::DateTime, 45306.9999999), "2024/1/16");
  // Before 1899-12-30 the time still counts forward from midnight, so a
  // time that rounds up to a whole day moves the date a day further back.
  EXPECT_EQ(Display(CellType::DateTime, -1.5), "1899/12/29 12:00:00");
  EXPECT_EQ(Display(CellType::DateTime, -1.9999999), "1899/12/28");
  // Out of the OLE range: shown as the number.
  EXPECT_EQ(Display(CellType::DateTime, 3e6), "3000000");
}

TEST(FindSheet, ByNumberThenByName) {
  Workbook b;
  for (const char* name : {"题库", "Chapter", "2", "10"}) b.sheets.push_back(Sheet{name, {}});
  EXPECT_EQ(FindSheet(b, "1"), 0);
  EXPECT_EQ(FindSheet(b, "4"), 3);
  EXPECT_EQ(FindSheet(b, "题库"), 0);
  EXPECT_EQ(FindSheet(b, "chapter"), 1);   // ASCII case does not matter
  EXPECT_EQ(FindSheet(b, "2"), 1);         // a number first...
  EXPECT_EQ(FindSheet(b, "10"), 3);        // ...then a name of digits
  EXPECT_EQ(FindSheet(b, "0"), -1);
  EXPECT_EQ(FindSheet(b, "5"), -1);
  EXPECT_EQ(FindSheet(b, "01"), 0);
  EXPECT_EQ(FindSheet(b, ""), -1);
  EXPECT_EQ(FindSheet(b, "题"), -1);
  EXPECT_EQ(FindSheet(b, "99999999999999999999"), -1);
}

TEST(CellAddress, ColumnNames) {
  EXPECT_EQ(ColumnName(1), "A");
  EXPECT_EQ(ColumnName(26), "Z");
  EXPECT_EQ(ColumnName(27), "AA");
  EXPECT_EQ(ColumnName(52), "AZ");
  EXPECT_EQ(ColumnName(53), "BA");
  EXPECT_EQ(ColumnName(702), "ZZ");
  EXPECT_EQ(ColumnName(703), "AAA");
  EXPECT_EQ(ColumnName(16384), "XFD");
  EXPECT_EQ(ColumnName(0), "");
  EXPECT_EQ(ColumnName(16385), "");
}

TEST(CellAddress, Parsing) {
  int32_t r = 0, c = 0;
  struct Case {
    const char* text;
    int32_t row, col;
  };
  for (Case k : {Case{"A1", 1, 1}, Case{"z9", 9, 26}, Case{"AA3", 3, 27}, Case{"AZ10", 10, 52}, Case{"BA1", 1, 53},
                 Case{"XFD1048576", 1048576, 16384}, Case{"b12", 12, 2}}) {
    ASSERT_TRUE(ParseCellAddress(k.text, &r, &c)) << k.text;
    EXPECT_EQ(r, k.row) << k.text;
    EXPECT_EQ(c, k.col) << k.text;
    EXPECT_EQ(ColumnName(c) + std::to_string(r), [&] {
      std::string up = k.text;
      for (char& ch : up) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return up;
    }());
  }
  // The converter forms "[1" and "\1" for columns past Z: no addresses.
  for (const char* bad : {"", "A", "1", "A0", "A1048577", "XFE1", "AAAA1", "$A$1", "A1:B2", "[1", "\\1", "A 1",
                          "A1x", "A99999999999"}) {
    EXPECT_FALSE(ParseCellAddress(bad, &r, &c)) << bad;
  }
}

TEST(UsedRangeAndFind, BoundingBoxOfStoredCells) {
  Sheet s;
  EXPECT_TRUE(GetUsedRange(s).empty);
  EXPECT_EQ(GetUsedRange(s).firstRow, 1);
  EXPECT_EQ(GetUsedRange(s).colCount, 1);
  s.cells = {{3, 4, 1, 0, CellType::Number}, {5, 2, 1, 0, CellType::Number}, {9, 3, 1, 0, CellType::Error}};
  UsedRange u = GetUsedRange(s);
  EXPECT_FALSE(u.empty);
  EXPECT_EQ(u.firstRow, 3);
  EXPECT_EQ(u.firstCol, 2);
  EXPECT_EQ(u.rowCount, 7);
  EXPECT_EQ(u.colCount, 3);
  ASSERT_NE(FindCell(s, 5, 2), nullptr);
  EXPECT_EQ(FindCell(s, 9, 3)->type, CellType::Error);
  EXPECT_EQ(FindCell(s, 5, 3), nullptr);
  EXPECT_EQ(FindCell(s, 1, 1), nullptr);
  EXPECT_EQ(FindCell(s, 10, 1), nullptr);
}

TEST(DetectFormat, SignaturesFirstThenName) {
  test::XlsxParts p;
  EXPECT_EQ(DetectFormat(test::MakeXlsx(p), "whatever.bin"), Format::Xlsx);
  EXPECT_EQ(DetectFormat(test::MakeOds(""), "x.xlsx"), Format::Ods);
  EXPECT_EQ(DetectFormat(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'), "a.csv"),
            Format::Xls);
  EXPECT_EQ(DetectFormat("a,b\n", "data.CSV"), Format::Csv);
  EXPECT_EQ(DetectFormat("", "empty.csv"), Format::Csv);
  EXPECT_EQ(DetectFormat("题型,题目\r\n", "noext"), Format::Csv);
  EXPECT_EQ(DetectFormat(std::string("\x7F" "ELF\x02\x01\x01\0\0", 9), "prog"), Format::Unknown);
  EXPECT_EQ(DetectFormat("", "empty"), Format::Unknown);
  // A damaged package goes where its name points, so its reader can say why.
  EXPECT_EQ(DetectFormat("PK\x03\x04garbage", "book.xlsx"), Format::Xlsx);
  EXPECT_EQ(DetectFormat("PK\x03\x04garbage", "book.zip"), Format::Unknown);
  EXPECT_EQ(DetectFormat(test::MakeZip({{"readme.txt", "hi"}}), "a.zip"), Format::Unknown);
}

TEST(ReadWorkbook, UnknownFormatAndGarbageGiveOneLineErrors) {
  Workbook b;
  std::string err;
  EXPECT_FALSE(ReadWorkbook("x", Format::Unknown, &b, &err));
  EXPECT_FALSE(err.empty());
  for (Format f : {Format::Xlsx, Format::Ods}) {
    EXPECT_FALSE(ReadWorkbook("PK\x03\x04 not a zip at all", f, &b, &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(err.find('\n'), std::string::npos);
    EXPECT_TRUE(b.sheets.empty());
  }
}

}  // namespace
}  // namespace qx::reader

namespace qx::reader {
namespace {

// Texts written in place, dropped, copied and moved keep their bytes as
// the pool's buffer grows under them, from empty to past a large block.
TEST(StringPool, TextsWrittenInPlaceSurviveGrowthCopiesAndMoves) {
  StringPool pool{"a", ""};
  for (int i = 0; i < 40000; ++i) {
    const std::string text = std::to_string(i) + "文本";
    char* out = pool.BeginText(text.size() + 100);  // room to spare, as a decoder asks
    std::memcpy(out, text.data(), text.size());
    pool.EndText(text.size());
    if (i % 7 == 0) {
      pool.BeginText(50);
      pool.CancelText();
    }
  }
  ASSERT_EQ(pool.size(), 40002u);
  EXPECT_EQ(pool[0], "a");
  EXPECT_EQ(pool[1], "");
  EXPECT_EQ(pool[2], "0文本");
  EXPECT_EQ(pool.back(), "39999文本");
  StringPool copy = pool;
  pool.truncate(3);
  pool.push_back("后");
  EXPECT_EQ(pool.size(), 4u);
  EXPECT_EQ(pool[3], "后");
  EXPECT_EQ(pool.byteSize(), std::string("a0文本后").size());
  EXPECT_EQ(copy[20002], "20000文本");
  StringPool moved = std::move(copy);
  moved.shrink_to_fit();
  EXPECT_EQ(moved[40001], "39999文本");
  EXPECT_EQ(moved.size(), 40002u);
  copy = moved;  // assigned over a moved-from pool
  EXPECT_EQ(copy[12345], "12343文本");
}

}  // namespace
}  // namespace qx::reader
