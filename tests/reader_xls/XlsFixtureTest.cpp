// Files written by real programs (made by data/make_fixtures.sh).
#include <gtest/gtest.h>

#include <iterator>

#include "XlsTestUtil.h"
#include "WholeFile.h"

using namespace qx::test;
using qx::reader::CellType;
using qx::reader::Workbook;

namespace {

std::string Fixture(const char* name) {
  std::string path =
      std::string(QX_SOURCE_DIR) + "/tests/reader_xls/data/" + name;
  std::string bytes = qx::test::ReadWholeFile(path);
  EXPECT_FALSE(bytes.empty()) << path;
  return bytes;
}

TEST(XlsFixtures, XlwtWorkbook) {
  Workbook b = ReadOk(Fixture("xlwt_basic.xls"));
  ASSERT_EQ(b.sheets.size(), 3u);
  EXPECT_EQ(b.sheets[0].name, "题库");
  EXPECT_EQ(b.sheets[1].name, "Second");
  EXPECT_EQ(b.sheets[2].name, "Empty");
  EXPECT_TRUE(b.sheets[2].cells.empty());
  EXPECT_EQ(TextAt(b, 1, 1, 1), "第二页");

  const auto& s = b.sheets[0];
  EXPECT_EQ(TextAt(b, 0, 1, 2), "题目");
  EXPECT_EQ(TextAt(b, 0, 2, 2), "下列哪一项是正确的？");
  EXPECT_EQ(TextAt(b, 0, 3, 2), "Latin-1: caf\xC3\xA9");
  EXPECT_EQ(At(s, 2, 3)->number, 5);
  EXPECT_EQ(At(s, 3, 3)->number, 2.5);
  EXPECT_EQ(At(s, 4, 3)->number, -123456789);
  EXPECT_EQ(At(s, 5, 3)->number, 1e100);
  EXPECT_EQ(At(s, 6, 1)->type, CellType::Boolean);
  EXPECT_EQ(At(s, 6, 1)->number, 1);
  EXPECT_EQ(At(s, 6, 2)->number, 0);
  EXPECT_EQ(At(s, 7, 1)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 7, 1)->number, 45306);
  EXPECT_EQ(At(s, 7, 2)->type, CellType::DateTime);
  EXPECT_NEAR(At(s, 7, 2)->number, 45306 + (13 * 3600 + 45 * 60 + 30) / 86400.0,
              1e-9);
  EXPECT_EQ(At(s, 7, 3)->type, CellType::Number);  // "#,##0.00"
  EXPECT_EQ(At(s, 7, 3)->number, 1234.5);
  ASSERT_NE(At(s, 8, 1), nullptr);  // a formula without a cached result
  EXPECT_EQ(TextAt(b, 0, 10, 7), "far");
  EXPECT_EQ(s.cells.back().row, 10);
}

TEST(XlsFixtures, GnumericFormulasWithCachedResults) {
  Workbook b = ReadOk(Fixture("gnumeric_formulas.xls"));
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_EQ(b.sheets[0].name, "公式");
  const auto& s = b.sheets[0];
  EXPECT_EQ(At(s, 2, 1)->number, 42);
  EXPECT_EQ(TextAt(b, 0, 2, 2), "文本结果");
  EXPECT_EQ(At(s, 2, 3)->type, CellType::Boolean);
  EXPECT_EQ(At(s, 2, 3)->number, 1);
  EXPECT_EQ(TextAt(b, 0, 2, 4), "#DIV/0!");
  EXPECT_EQ(TextAt(b, 0, 2, 5), "");
}

TEST(XlsFixtures, GnumericFromCsv) {
  Workbook b = ReadOk(Fixture("gnumeric_csv.xls"));
  ASSERT_EQ(b.sheets.size(), 1u);
  const auto& s = b.sheets[0];
  EXPECT_EQ(TextAt(b, 0, 1, 3), "题目");
  EXPECT_EQ(TextAt(b, 0, 2, 3), "中国的首都是哪里？");
  EXPECT_EQ(TextAt(b, 0, 3, 3), "下列哪些是\"质数\"？");
  EXPECT_EQ(At(s, 2, 1)->number, 1);
  EXPECT_EQ(At(s, 2, 5)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 2, 5)->number, 45306);
  EXPECT_EQ(At(s, 3, 5)->number, 45351);
  EXPECT_EQ(At(s, 5, 4)->number, 2);
  EXPECT_EQ(At(s, 5, 5), nullptr);
  EXPECT_EQ(s.cells.size(), 24u);
}

// "Book" (BIFF5) comes first in this file's directory; the BIFF8
// "Workbook" stream must win.
TEST(XlsFixtures, DualStreamFilePrefersWorkbook) {
  Workbook b = ReadOk(Fixture("gnumeric_dual.xls"));
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_EQ(TextAt(b, 0, 2, 3), "中国的首都是哪里？");
  EXPECT_EQ(b.sheets[0].cells.size(), 24u);
}

}  // namespace

// The same date-formatted values written by two writers, one per format:
// a number shows the same whichever file it came from (times of day alone,
// the 1900 leap day, negatives staying numbers).
TEST(XlsFixtures, DatesAndTimesShowAsInXlsx) {
  Workbook xls = ReadOk(Fixture("xlwt_times.xls"));
  Workbook xlsx;
  std::string error;
  ASSERT_TRUE(qx::reader::ReadWorkbook(Fixture("openpyxl_times.xlsx"),
                                       qx::reader::Format::Xlsx, &xlsx, &error))
      << error;
  const char* const expected[] = {
      "13:45:00",  "12:00:00",  "0:00:00",  "1900/1/1",
      "1900/2/28", "1900/3/1",  "1900/3/1", "2024/1/15 12:00:00",
      "-1",        "-0.25",     "1900/1/1 12:00:00"};
  for (int row = 1; row <= static_cast<int>(std::size(expected)); ++row) {
    const auto* a = At(xls.sheets.at(0), row, 1);
    const auto* b = At(xlsx.sheets.at(0), row, 1);
    ASSERT_TRUE(a && b) << row;
    EXPECT_EQ(qx::reader::CellDisplayText(xls, *a), expected[row - 1]) << row;
    EXPECT_EQ(qx::reader::CellDisplayText(xlsx, *b), expected[row - 1]) << row;
  }
}

namespace {

// BIFF7 as gnumeric writes it in a Chinese locale: GBK byte strings under
// CODEPAGE 936, text cells as LABEL and (rich text) RSTRING records.
TEST(XlsFixtures, Biff7FromAChineseLocale) {
  Workbook b = ReadOk(Fixture("gnumeric_biff7_zh.xls"));
  ASSERT_EQ(b.sheets.size(), 2u);
  EXPECT_EQ(b.sheets[0].name, "题库");
  EXPECT_EQ(b.sheets[1].name, "第二页");
  const auto& s = b.sheets[0];
  EXPECT_EQ(TextAt(b, 0, 1, 2), "题目");
  EXPECT_EQ(TextAt(b, 0, 2, 1), "单选题");
  EXPECT_EQ(TextAt(b, 0, 2, 2), "粗体和普通的题目");  // RSTRING
  EXPECT_EQ(At(s, 2, 3)->number, 5);
  EXPECT_EQ(At(s, 3, 1)->type, CellType::DateTime);  // yyyy"年"m"月"d"日"
  EXPECT_EQ(At(s, 3, 1)->number, 45306);
  EXPECT_EQ(TextAt(b, 0, 3, 2), "单选题（答）");  // FORMULA, then STRING
  EXPECT_EQ(At(s, 3, 3)->number, 2.5);
  EXPECT_EQ(TextAt(b, 1, 1, 1), "第二页的值");
}

// The same writer outside a Chinese locale: code page 1252, where the
// writer had already turned the Chinese characters into '?'.
TEST(XlsFixtures, Biff7InTheWesternCodePage) {
  Workbook b = ReadOk(Fixture("gnumeric_biff5.xls"));
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_EQ(b.sheets[0].name, "questions.csv");
  EXPECT_EQ(TextAt(b, 0, 1, 2), "??");
  EXPECT_EQ(TextAt(b, 0, 3, 4), "2;3;5");
  EXPECT_EQ(At(b.sheets[0], 2, 5)->type, CellType::DateTime);
  EXPECT_EQ(b.sheets[0].cells.size(), 24u);
}

// gnumeric_formulas.xls with its formula cells under 0x0406.
TEST(XlsFixtures, FormulasUnderTheOlderRecordNumber) {
  Workbook b = ReadOk(Fixture("formula_0406.xls"));
  const auto& s = b.sheets.at(0);
  ASSERT_EQ(s.cells.size(), 7u);
  EXPECT_EQ(At(s, 2, 1)->number, 42);
  EXPECT_EQ(TextAt(b, 0, 2, 2), "文本结果");
  EXPECT_EQ(At(s, 2, 3)->type, CellType::Boolean);
  EXPECT_EQ(TextAt(b, 0, 2, 4), "#DIV/0!");
}

// xlwt_basic.xls with the count of its "yyyy/m/d" one more than the
// characters there: the code as far as it goes still makes dates.
TEST(XlsFixtures, FormatOneByteShortOfItsCount) {
  Workbook b = ReadOk(Fixture("format_short.xls"));
  const auto& s = b.sheets.at(0);
  EXPECT_EQ(At(s, 7, 1)->type, CellType::DateTime);
  EXPECT_EQ(At(s, 7, 1)->number, 45306);
  EXPECT_EQ(TextAt(b, 0, 2, 2), "下列哪一项是正确的？");
}

// xlwt_basic.xls with its second sheet's offset pointing into the
// globals: the read for one sheet keeps the others and says what is wrong
// with that one; the whole-workbook read refuses with the same words.
TEST(XlsFixtures, OneSheetThatMissesItsBof) {
  const std::string bytes = Fixture("bad_sheet_offset.xls");
  const std::string refusal = ReadErr(bytes);
  EXPECT_EQ(refusal, "不是有效的 xls 文件：工作表“Second”已损坏：位置无效，那里不是工作表的开头");
  Workbook b;
  std::string error;
  ASSERT_TRUE(qx::reader::ReadXls(bytes, &b, &error, qx::reader::BadSheets::KeepListed)) << error;
  ASSERT_EQ(b.sheets.size(), 3u);
  EXPECT_EQ(b.sheets[1].name, "Second");
  EXPECT_EQ(b.sheets[1].failure, refusal);
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_TRUE(b.sheets[0].failure.empty());
  EXPECT_EQ(b.sheets[0].cells.size(), 18u);
  EXPECT_EQ(TextAt(b, 0, 2, 2), "下列哪一项是正确的？");
  EXPECT_TRUE(b.sheets[2].failure.empty());
}

TEST(XlsFixtures, Biff4WorksheetNamesItsVersion) {
  const std::string bytes = Fixture("biff4_sheet.xls");
  EXPECT_EQ(qx::reader::DetectFormat(bytes, "old.xls"), qx::reader::Format::Xls);
  EXPECT_EQ(qx::reader::DetectFormat(bytes, "old"), qx::reader::Format::Xls);
  const std::string error = ReadErr(bytes);
  EXPECT_NE(error.find("BIFF4"), std::string::npos) << error;
}

}  // namespace
