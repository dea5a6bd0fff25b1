// Workbooks written by real programs (see data/make-test-data.sh and
// samples/make-samples.sh), and what damaged copies of them do.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "TestUtil.h"
#include "WholeFile.h"
#include "reader/Workbook.h"

namespace qx::reader {
namespace {

using test::Show;
using test::TypeAt;

std::string DataPath(const std::string& name) { return std::string(QX_READER_DATA) + "/" + name; }

std::string GbkPath(const std::string& utf8) {
  std::string out;
  gbk::FromUtf8(utf8, &out);
  return out;
}

Workbook Open(const std::string& utf8Path) {
  Workbook b;
  OpenFailure err;
  EXPECT_TRUE(OpenWorkbookFile(GbkPath(utf8Path), &b, &err)) << OpenFailureReason(err);
  return b;
}

class WriterFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(WriterFiles, ReadTheSameValues) {
  Workbook b = Open(DataPath(GetParam()));
  ASSERT_EQ(b.sheets.size(), 2u);
  EXPECT_EQ(b.sheets[0].name, "类型");
  EXPECT_EQ(b.sheets[1].name, "第二页");
  EXPECT_EQ(Show(b, 0, "A1"), "文本");
  EXPECT_EQ(Show(b, 0, "B1"), "2");
  EXPECT_EQ(Show(b, 0, "C1"), "0.5");
  EXPECT_EQ(Show(b, 0, "D1"), "0.333333333333333");
  EXPECT_EQ(Show(b, 0, "A2"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "B2"), "2024/1/15 13:45:30");
  EXPECT_EQ(Show(b, 0, "C2"), "13:45:00");
  EXPECT_EQ(Show(b, 0, "D2"), "2024/1/15");  // yyyy"年"m"月"d"日"
  EXPECT_EQ(Show(b, 0, "E2"), "12");         // 0" d": not a date
  EXPECT_EQ(Show(b, 0, "A3"), "第一行\n第二行");
  EXPECT_EQ(Show(b, 0, "D3"), "0");
  EXPECT_EQ(Show(b, 0, "E3"), "1E+15");
  EXPECT_EQ(Show(b, 0, "F3"), "1E-05");
  EXPECT_EQ(Show(b, 0, "A4"), "  前后空格  ");
  EXPECT_EQ(Show(b, 0, "B4"), "€ 和 ??");
  EXPECT_EQ(Show(b, 0, "G5"), "末");
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_EQ(u.rowCount, 5);
  EXPECT_EQ(u.colCount, 7);
  EXPECT_EQ(Show(b, 1, "B2"), "第二页的值");

  std::string name = GetParam();
  if (name == "types.xlsx") {
    // openpyxl stores booleans as such and formulas without results.
    EXPECT_EQ(Show(b, 0, "E1"), "-1");
    EXPECT_EQ(Show(b, 0, "B3"), "");
  } else {
    // The others computed the formulas.
    EXPECT_EQ(Show(b, 0, "B3"), "4");
    EXPECT_EQ(TypeAt(b, 0, "C3"), CellType::Error);
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, WriterFiles,
                         ::testing::Values("types.xlsx", "types-lo.xlsx", "types-gnm.xlsx", "types-lo.ods",
                                           "types-gnm.ods"));

TEST(WriterFiles, Date1904FromOpenpyxl) {
  Workbook b = Open(DataPath("date1904.xlsx"));
  EXPECT_EQ(Show(b, 0, "A1"), "2024/1/15");
  EXPECT_EQ(Show(b, 0, "A2"), "1");
}

class Samples : public ::testing::TestWithParam<const char*> {};

TEST_P(Samples, HoldTheQuestionBank) {
  const std::string path = std::string(QX_SAMPLES_DIR) + "/题库示例." + GetParam();
  Workbook b = Open(path);
  ASSERT_GE(b.sheets.size(), 1u);
  UsedRange u = GetUsedRange(b.sheets[0]);
  EXPECT_EQ(u.firstRow, 1);
  EXPECT_EQ(u.firstCol, 1);
  EXPECT_EQ(u.rowCount, 12);
  EXPECT_EQ(u.colCount, 7);
  EXPECT_EQ(Show(b, 0, "A1"), "题型");
  EXPECT_EQ(Show(b, 0, "G1"), "答案");
  EXPECT_EQ(Show(b, 0, "B3"), "1+1=?");
  EXPECT_EQ(Show(b, 0, "D3"), "2");
  EXPECT_EQ(Show(b, 0, "A4"), "多选题");
  EXPECT_EQ(Show(b, 0, "B5"), "水在标准大气压下100℃沸腾。");
  EXPECT_EQ(Show(b, 0, "E5"), "<none>");  // an empty cell in the middle
  for (const char* col : {"A6", "B6", "C6", "D6", "E6", "F6", "G6"}) {
    EXPECT_EQ(Show(b, 0, col), "<none>") << col;  // the empty row
  }
  EXPECT_EQ(Show(b, 0, "G7"), "300000");
  EXPECT_EQ(Show(b, 0, "B8"), "简述光合作用的过程。\n（要求：写出反应物和生成物）");
  EXPECT_EQ(Show(b, 0, "A12"), "单选题");
  EXPECT_EQ(b.sheets[0].cells.size(), 60u);
  if (std::string(GetParam()) == "csv") {
    EXPECT_EQ(b.sheets[0].name, "题库示例");  // named after the file
  } else {
    EXPECT_EQ(b.sheets[0].name, "题库");
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, Samples, ::testing::Values("xlsx", "ods", "csv", "xls"));

// Blanks in text cells as LibreOffice and gnumeric write them (literal
// leading, trailing and repeated ones, <text:s>, spans, links, several
// paragraphs) come out as the applications show them.
class OdsSpaces : public ::testing::TestWithParam<const char*> {};

TEST_P(OdsSpaces, KeptAsTheApplicationsShowThem) {
  Workbook b;
  OpenFailure err;
  ASSERT_TRUE(OpenWorkbookFile(GbkPath(DataPath(GetParam())), &b, &err)) << OpenFailureReason(err);
  EXPECT_EQ(Show(b, 0, "A1"), " lead");
  EXPECT_EQ(Show(b, 0, "A2"), "trail ");
  EXPECT_EQ(Show(b, 0, "A3"), "a  b");
  EXPECT_EQ(Show(b, 0, "A4"), "x   y");
  EXPECT_EQ(Show(b, 0, "A7"), "第一段\n第二段");
  EXPECT_EQ(Show(b, 0, "A8"), "粗体  字 尾");
  EXPECT_EQ(Show(b, 0, "A9"), "见 链接  文字");
  EXPECT_EQ(Show(b, 0, "A10"), "  多  个  ");
}

INSTANTIATE_TEST_SUITE_P(Writers, OdsSpaces, ::testing::Values("spaces-lo.ods", "spaces-gnm.ods"));

// Constructs met in files of other programs (data/make-test-data.sh,
// real-world part).
TEST(RealWorldFiles, ATimeOfDayAloneInADateCell) {
  Workbook b = Open(DataPath("time-only.xlsx"));
  EXPECT_EQ(Show(b, 0, "A1"), "10:10:10");
  EXPECT_EQ(Show(b, 0, "B1"), "2024/1/15 13:45:30");
  EXPECT_EQ(Show(b, 0, "C1"), "文本");
}

TEST(RealWorldFiles, ASheetWithoutAPartKeepsItsPlaceAndName) {
  Workbook b = Open(DataPath("empty-relid.xlsx"));
  ASSERT_EQ(b.sheets.size(), 3u);
  EXPECT_EQ(b.sheets[0].name, "题库");
  EXPECT_EQ(b.sheets[1].name, "宏1");
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_EQ(b.sheets[2].name, "第三页");
  EXPECT_EQ(Show(b, 0, "A1"), "第一页");
  EXPECT_EQ(Show(b, 2, "A1"), "3");
}

// The second of three sheets cannot be read, in each way a package can
// lose one. Read as a whole, the workbook is refused saying which sheet
// and why; read for one sheet, the others are there and the bad one keeps
// its place and name with that same reason.
struct BadSheetCase {
  const char* file;
  const char* reason;
  friend void PrintTo(const BadSheetCase& c, std::ostream* os) { *os << c.file; }
};

class BadSheetFiles : public ::testing::TestWithParam<BadSheetCase> {};

TEST_P(BadSheetFiles, OnlyThatSheetIsLost) {
  const auto [file, reason] = GetParam();
  const std::string path = GbkPath(DataPath(file));
  Workbook b;
  OpenFailure refused;
  EXPECT_FALSE(OpenWorkbookFile(path, &b, &refused));
  EXPECT_EQ(refused.code, OpenFailureCode::kUnreadableContent);
  std::string refusal = OpenFailureReason(refused);
  EXPECT_NE(refusal.find("工作表“坏表”"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
  EXPECT_EQ(refusal.find('\n'), std::string::npos) << refusal;

  OpenFailure err;
  ASSERT_TRUE(OpenWorkbookFile(path, &b, &err, BadSheets::KeepListed)) << OpenFailureReason(err);
  ASSERT_EQ(b.sheets.size(), 3u);
  EXPECT_EQ(b.sheets[0].name, "题库");
  EXPECT_EQ(b.sheets[1].name, "坏表");
  EXPECT_EQ(b.sheets[2].name, "第三页");
  EXPECT_EQ(Show(b, 0, "A1"), "第一页");
  EXPECT_EQ(Show(b, 2, "A1"), "3");
  EXPECT_TRUE(b.sheets[0].failure.empty());
  EXPECT_TRUE(b.sheets[2].failure.empty());
  EXPECT_TRUE(b.sheets[1].cells.empty());
  EXPECT_EQ(b.sheets[1].failure, refusal);
}

INSTANTIATE_TEST_SUITE_P(
    RealWorldFiles, BadSheetFiles,
    ::testing::Values(BadSheetCase{"bad-sheet-part.xlsx", "xl/worksheets/sheet2.xml）：压缩包已损坏：校验和不符"},
                      BadSheetCase{"bad-sheet-relid.xlsx", "找不到工作表“坏表”的部件"},
                      BadSheetCase{"bad-sheet-missing.xlsx", "缺少工作表“坏表”的部件 xl/worksheets/sheet2.xml"}),
    [](const auto& info) {  // "part", "relid", "missing"
      const std::string file = info.param.file;
      return file.substr(10, file.size() - 15);
    });

TEST(RealWorldFiles, RefusedWithWhatIsWrong) {
  const std::pair<const char*, const char*> cases[] = {
      {"duplicate-entry.xlsx", "两个同名的项“xl/worksheets/sheet1.xml”"},
      {"encrypted.xlsx", "xlsx 文件受密码保护"},
      {"encrypted.ods", "ods 文件受密码保护"},
  };
  for (const auto& [file, reason] : cases) {
    Workbook b;
    OpenFailure why;
    EXPECT_FALSE(OpenWorkbookFile(GbkPath(DataPath(file)), &b, &why)) << file;
    std::string err = OpenFailureReason(why);
    EXPECT_NE(err.find(reason), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), std::string::npos) << err;
  }
}

// The reader names no file (the program showing the failure does, once):
// it says what went wrong.
TEST(OpenWorkbookFile, ErrorsSayWhatWentWrong) {
  Workbook b;
  OpenFailure why;
  EXPECT_FALSE(OpenWorkbookFile(GbkPath(DataPath("不存在的文件.xlsx")), &b, &why));
  EXPECT_EQ(why.code, OpenFailureCode::kNotFound);
  std::string err = OpenFailureReason(why);
  EXPECT_EQ(err.find("不存在的文件.xlsx"), std::string::npos) << err;
  EXPECT_NE(err.find("不存在"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), std::string::npos);

}

// Every code is said its own way, on one line; a detail is said instead.
TEST(OpenWorkbookFile, EachFailureHasAReasonOfItsOwn) {
  std::set<std::string> said;
  for (int c = 1; c <= static_cast<int>(OpenFailureCode::kUnreadableContent); ++c) {
    std::string reason = OpenFailureReason({static_cast<OpenFailureCode>(c), {}});
    EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
    EXPECT_TRUE(said.insert(reason).second) << reason;
  }
  EXPECT_EQ(OpenFailureReason({OpenFailureCode::kBadName, {}}), "文件名无效");
  EXPECT_EQ(OpenFailureReason({OpenFailureCode::kNotFound, {}}), "文件不存在");
  EXPECT_EQ(OpenFailureReason({OpenFailureCode::kTooLarge, {}}), "文件太大（超过 1 GB）");
  EXPECT_EQ(OpenFailureReason({OpenFailureCode::kNotAWorkbook, {}}),
            "不是可识别的表格文件（支持 .xlsx、.xls、.ods、.csv）");
  EXPECT_EQ(OpenFailureReason({OpenFailureCode::kUnreadableContent, "压缩包已损坏"}), "压缩包已损坏");
}

// A text file whatever its extension opens as delimited text, as a
// spreadsheet application opens it: one sheet named after the file, a line
// per row, split at the commas.
TEST(OpenWorkbookFile, TextWithAnUnknownExtensionIsReadAsDelimitedText) {
  Workbook b;
  OpenFailure err;
  ASSERT_TRUE(OpenWorkbookFile(GbkPath(DataPath("make-test-data.sh")), &b, &err)) << OpenFailureReason(err);
  ASSERT_EQ(b.sheets.size(), 1u);
  EXPECT_EQ(b.sheets[0].name, "make-test-data");
  EXPECT_EQ(Show(b, 0, "A1"), "#!/usr/bin/env bash");
  EXPECT_EQ(Show(b, 0, "B1"), "<none>");
}

// Every cut of a real file, and random damage to it, must end in a
// workbook or an error message: never a crash, a hang or a huge allocation.
class DamagedFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(DamagedFiles, FailCleanly) {
  const std::string bytes = test::ReadWholeFile(DataPath(GetParam()));
  ASSERT_FALSE(bytes.empty());
  const Format format = DetectFormat(bytes, GetParam());
  size_t step = bytes.size() / 300 + 1;
  for (size_t cut = 0; cut < bytes.size(); cut += step) {
    Workbook b;
    std::string err;
    if (!ReadWorkbook(std::string_view(bytes).substr(0, cut), format, &b, &err)) {
      EXPECT_FALSE(err.empty());
    }
  }
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    std::string copy = bytes;
    int flips = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < flips; ++k) copy[rng() % copy.size()] = static_cast<char>(rng());
    Workbook b;
    std::string err;
    if (!ReadWorkbook(copy, DetectFormat(copy, GetParam()), &b, &err)) {
      EXPECT_FALSE(err.empty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, DamagedFiles,
                         ::testing::Values("types.xlsx", "types-lo.xlsx", "types-gnm.ods", "types-lo.ods"));

}  // namespace
}  // namespace qx::reader
