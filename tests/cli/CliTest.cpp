#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WholeFile.h"
#include "cli/Cli.h"
#include "runtime/encoding/Gbk.h"

namespace qx::cli {
namespace {

using test::ReadWholeFile;

// Test files are named in the native form the tool receives: UTF-8 paths
// natively, GBK paths under Windows (where the source tree is drive Z:).
std::string Native(const std::string& utf8Path) {
#ifdef _WIN32
  std::string gbkPath;
  gbk::FromUtf8(utf8Path, &gbkPath);
  std::string p = "Z:" + gbkPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
#else
  return utf8Path;
#endif
}

// "题库示例" spelled in UTF-8 whatever the literal charset is.
const std::string kSampleStem = "\xE9\xA2\x98\xE5\xBA\x93\xE7\xA4\xBA\xE4\xBE\x8B";

std::string Sample(const std::string& ext) {
  return Native(std::string(QX_SOURCE_DIR) + "/samples/" + kSampleStem + "." + ext);
}

// One folder per test: the native tests run in parallel processes, and the
// samples all make a document of the same name.
std::string OutDirUtf8() {
  return std::string(QX_BINARY_DIR) + "/cli-test-out-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string OutDir() {
  std::string dir = OutDirUtf8();
#ifdef _WIN32
  std::string cmd = "mkdir \"" + Native(dir) + "\" 2>nul";
#else
  std::string cmd = "mkdir -p '" + dir + "'";
#endif
  if (system(cmd.c_str()) != 0) {
  }
  return Native(dir);
}

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun RunTool(std::vector<std::string> args) {
  FILE* out = tmpfile();
  FILE* err = tmpfile();
  ToolRun r;
  r.status = RunCli(args, out, err);
  auto read = [](FILE* f) {
    std::string s;
    rewind(f);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
  };
  r.out = read(out);
  r.err = read(err);
  return r;
}

// The samples' document, kept in the repository: reviewed by eye once and
// regenerated only on purpose (quillox-cli --stdout on the sample). Every
// format of the sample holds the same bank, so all give this document.
std::string ExpectedSampleDocument() {
  return ReadWholeFile(Native(std::string(QX_SOURCE_DIR) + "/tests/cli/expected/sample.doc"));
}

class SampleConversion : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleConversion, SavedDocumentIsTheExpectedOne) {
  std::string dir = OutDir();
  std::string input = Sample(GetParam());
  ToolRun r = RunTool({"-o", dir, input});
  ASSERT_EQ(0, r.status) << r.err;
  EXPECT_EQ("", r.err);
  std::string doc = ReadWholeFile(Native(OutDirUtf8() + "/" + kSampleStem + ".doc"));
  const std::string expected = ExpectedSampleDocument();
  ASSERT_EQ(0u, expected.find("0:题型\r\n"));
  EXPECT_EQ(expected, doc);

  ToolRun s = RunTool({"--stdout", input});
  EXPECT_EQ(0, s.status);
  EXPECT_EQ(doc, s.out);
}

INSTANTIATE_TEST_SUITE_P(Formats, SampleConversion,
                         ::testing::Values("xlsx", "xls", "ods", "csv"));

TEST(CliReplacements, RunInCommandLineOrderAndAutoOnlyOnce) {
  std::string input = Sample("xlsx");
  ToolRun plain = RunTool({"--stdout", input});
  ToolRun a = RunTool({"--stdout", "--auto", "--auto", input});
  EXPECT_NE(std::string::npos, a.out.find("【单选题】"));
  EXPECT_EQ(std::string::npos, a.out.find("【【单选题】】"));
  // Replacing first and wrapping after differs from the other order.
  std::string single = "\xE5\x8D\x95\xE9\x80\x89\xE9\xA2\x98";  // 单选题 in UTF-8
#ifdef _WIN32
  std::string singleArg = "单选题";
#else
  std::string singleArg = single;
#endif
  ToolRun replaceThenAuto = RunTool({"--stdout", "--replace", singleArg, "X", "--auto", input});
  EXPECT_EQ(std::string::npos, replaceThenAuto.out.find("单选题"));
  ToolRun autoThenReplace = RunTool({"--stdout", "--auto", "--replace", singleArg, "X", input});
  EXPECT_NE(std::string::npos, autoThenReplace.out.find("【X】"));
  EXPECT_NE(plain.out, autoThenReplace.out);
}

// A NUL inside a cell ends that cell's text, as the window shows it; the
// rest of the document still arrives.
TEST(CliConversion, ANulEndsItsCellOnly) {
  std::string dir = OutDirUtf8();
  OutDir();
  const std::string path = dir + "/cell-with-nul.csv";  // "nul.*" is a device on Windows
  {
    std::ofstream f(Native(path), std::ios::binary);
    // "a,b<NUL>c" then "单选题,x", in UTF-8.
    static const char kCsv[] = "a,b\0c\n\xE5\x8D\x95\xE9\x80\x89\xE9\xA2\x98,x\n";
    f.write(kCsv, sizeof kCsv - 1);
  }
  ToolRun r = RunTool({"--auto", "--stdout", Native(path)});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ("0:a\r\nb\r\n1:【单选题】\r\nx\r\n", r.out);
}

// After "--" every argument is a file, even one that looks like an option.
TEST(CliArguments, DoubleDashEndsTheOptions) {
  ToolRun r = RunTool({"--stdout", "--", "--auto"});
  EXPECT_EQ(1, r.status) << r.err;
  EXPECT_NE(std::string::npos, r.err.find("--auto")) << r.err;
  EXPECT_EQ("", r.out);
  ToolRun both = RunTool({"--stdout", "--", Sample("csv")});
  EXPECT_EQ(0, both.status) << both.err;
  EXPECT_EQ(ExpectedSampleDocument(), both.out);
}

// A GBK literal of this file in the terminal's encoding: UTF-8 natively,
// GBK under Windows.
std::string Terminal(const std::string& gbkText) {
#ifdef _WIN32
  return gbkText;
#else
  return gbk::ToUtf8(gbkText);
#endif
}

std::string TypesBook() {  // sheets 类型 and 第二页 (B2: 第二页的值)
  return Native(std::string(QX_SOURCE_DIR) + "/tests/reader/data/types.xlsx");
}

TEST(CliSheets, ListSheetsPrintsNumberAndName) {
  ToolRun r = RunTool({"--list-sheets", TypesBook()});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ(Terminal("1\t类型\n2\t第二页\n"), r.out);
  // Several files: each list under its file's name; a file that cannot be
  // read fails alone.
  std::string missing = Native(std::string(QX_BINARY_DIR) + "/does-not-exist.xlsx");
  ToolRun two = RunTool({"--list-sheets", Sample("csv"), missing});
  EXPECT_EQ(1, two.status);
  EXPECT_EQ(Sample("csv") + ":\n1\t" + Terminal("题库示例") + "\n" + missing + ":\n", two.out);
  EXPECT_NE(std::string::npos, two.err.find("does-not-exist.xlsx"));
}

TEST(CliSheets, SheetByNumberOrName) {
  const std::string second = "0:1:第二页的值\r\n";
  for (const std::string& choice : {std::string("2"), Terminal("第二页")}) {
    ToolRun r = RunTool({"--stdout", "--sheet", choice, TypesBook()});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(second, r.out) << choice;
  }
  // The first sheet stays the default, and "--sheet 1" is the same.
  ToolRun first = RunTool({"--stdout", "--sheet", "1", Sample("xlsx")});
  EXPECT_EQ(ExpectedSampleDocument(), first.out);
  // Names compare without regard to the case of ASCII letters.
  std::string xls = Native(std::string(QX_SOURCE_DIR) + "/tests/reader_xls/data/xlwt_basic.xls");
  ToolRun named = RunTool({"--stdout", "--sheet", "second", xls});
  EXPECT_EQ("0:第二页\r\n", named.out);
}

// A sheet that is not there is a usage error naming those that are; the
// other files are still converted.
TEST(CliSheets, UnknownSheetIsAUsageErrorNamingTheSheets) {
  for (const char* choice : {"3", "0", "第三页"}) {
    ToolRun r = RunTool({"--stdout", "--sheet", Terminal(choice), TypesBook(), TypesBook()});
    EXPECT_EQ(2, r.status) << choice;
    EXPECT_NE(std::string::npos, r.err.find(Terminal("1 类型、2 第二页"))) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(Terminal(choice))) << r.err;
    EXPECT_EQ(2, std::count(r.err.begin(), r.err.end(), '\n'));
    EXPECT_EQ("", r.out);
  }
  ToolRun mixed = RunTool({"--stdout", "--sheet", "2", Sample("csv"), TypesBook()});
  EXPECT_EQ(2, mixed.status);
  EXPECT_EQ("0:1:第二页的值\r\n", mixed.out);
  EXPECT_EQ(2, RunTool({"--stdout", "--sheet"}).status);
}

// Workbooks whose second of three sheets cannot be read (its part
// damaged, its relationship missing, its part missing): only converting
// that sheet fails, with its reason on one line; --list-sheets lists all
// three and says on the error stream which one cannot be read.
TEST(CliSheets, ABadSheetFailsOnlyWhenItIsTheOneConverted) {
  for (const char* name : {"bad-sheet-part.xlsx", "bad-sheet-relid.xlsx", "bad-sheet-missing.xlsx",
                           "../../reader_xls/data/bad_sheet_offset.xls"}) {
    const std::string file = Native(std::string(QX_SOURCE_DIR) + "/tests/reader/data/" + name);
    const std::string base = std::string(name).substr(std::string(name).rfind('/') + 1);
    const bool xls = base == "bad_sheet_offset.xls";
    const std::string bad = xls ? "Second" : Terminal("坏表");
    ToolRun first = RunTool({"--stdout", file});
    EXPECT_EQ(0, first.status) << name << first.err;
    EXPECT_EQ(xls ? "0:题型\r\n" : "0:第一页\r\n", first.out.substr(0, xls ? 8 : 10)) << name;
    ToolRun third = RunTool({"--stdout", "--sheet", "3", file});
    EXPECT_EQ(0, third.status) << name << third.err;
    EXPECT_EQ(xls ? "" : "0:3\r\n", third.out) << name;
    ToolRun broken = RunTool({"--stdout", "--sheet", bad, file});
    EXPECT_EQ(1, broken.status) << name;
    EXPECT_EQ("", broken.out);
    EXPECT_NE(std::string::npos, broken.err.find(Terminal("工作表“") + bad + Terminal("”"))) << broken.err;
    EXPECT_NE(std::string::npos, broken.err.find(base)) << broken.err;
    EXPECT_EQ(1, std::count(broken.err.begin(), broken.err.end(), '\n')) << broken.err;
    ToolRun list = RunTool({"--list-sheets", file});
    EXPECT_EQ(0, list.status) << name;
    EXPECT_EQ(xls ? "1\t" + Terminal("题库") + "\n2\tSecond\n3\tEmpty\n"
                  : Terminal("1\t题库\n2\t坏表\n3\t第三页\n"),
              list.out);
    EXPECT_EQ(broken.err, list.err) << name;
  }
}

TEST(CliErrors, UsageErrorsExitWithTwo) {
  EXPECT_EQ(2, RunTool({}).status);
  EXPECT_EQ(2, RunTool({"--replace", "a"}).status);
  EXPECT_EQ(2, RunTool({"-o", "d", "--stdout", "f.xlsx"}).status);
  EXPECT_EQ(2, RunTool({"--frobnicate", "f.xlsx"}).status);
  ToolRun r = RunTool({"-o"});
  EXPECT_EQ(2, r.status);
  EXPECT_NE(std::string::npos, r.err.find("quillox-cli"));
#ifndef _WIN32
  // A replacement GBK cannot hold: an emoji.
  EXPECT_EQ(2, RunTool({"--replace", "a", "\xF0\x9F\x98\x80", "f.xlsx"}).status);
#endif
  EXPECT_EQ(0, RunTool({"--help"}).status);
  ToolRun v = RunTool({"--version"});
  EXPECT_EQ(0, v.status);
  EXPECT_EQ("quillox-cli 1.0\n", v.out);
}

// Standard output takes the document in pieces as it is built: a document
// of many pieces comes out as the saved one, and a failed write still
// fails the file.
TEST(CliStdout, ALongDocumentIsTheSavedOneAndAFailedWriteFails) {
  std::string dir = OutDir();
  std::string csv;
  for (int i = 0; i < 8000; ++i) csv += "q" + std::to_string(i) + ",\"a\tb\",,c,123.5\n";
  std::ofstream(OutDirUtf8() + "/long.csv", std::ios::binary) << csv;
  std::string input = Native(OutDirUtf8() + "/long.csv");
  ASSERT_EQ(0, RunTool({"-o", dir, input}).status);
  std::string doc = ReadWholeFile(Native(OutDirUtf8() + "/long.doc"));
  ASSERT_GT(doc.size(), 3u * 64 * 1024);
  ToolRun s = RunTool({"--stdout", input});
  EXPECT_EQ(0, s.status);
  EXPECT_TRUE(doc == s.out);

  FILE* readOnly = fopen(input.c_str(), "rb");
  ASSERT_NE(nullptr, readOnly);
  FILE* err = tmpfile();
  EXPECT_EQ(1, RunCli({"--stdout", input}, readOnly, err));
  EXPECT_GT(ftell(err), 0);
  fclose(err);
  fclose(readOnly);
}

TEST(CliErrors, AFailedFileIsNamedAndTheOthersStillConvert) {
  std::string missing = Native(std::string(QX_BINARY_DIR) + "/does-not-exist.xlsx");
  ToolRun r = RunTool({"--stdout", missing, Sample("csv")});
  EXPECT_EQ(1, r.status);
  EXPECT_NE(std::string::npos, r.err.find("does-not-exist.xlsx"));
  EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n'));
  EXPECT_EQ(0u, r.out.find("0:"));
}

// A text bank named .doc is read as delimited text and its document is
// named as it is: saved into the bank's own folder, under any spelling of
// it, it must not replace the bank. And a name whose last character ends
// in the byte 0x5C (乗 is 0x81 0x5C) is one name, not a folder and a name.
TEST(CliSave, TheSourceIsNeverSavedOverAndANameIsCutOnCharacters) {
  std::string dir = OutDir();
  const std::string bank = "q,a\r\n";
  std::string source = Native(OutDirUtf8() + "/bank.doc");
  std::ofstream(source, std::ios::binary) << bank;
  for (const std::string& out : {dir, Native(OutDirUtf8() + "/.")}) {
    ToolRun r = RunTool({"-o", out, source});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("bank.doc")) << r.err;
    EXPECT_EQ(bank, ReadWholeFile(source));
  }
  std::string stem = "\xE4\xB9\x97";  // 乗 in UTF-8
  std::ofstream(Native(OutDirUtf8() + "/" + stem + ".csv"), std::ios::binary) << bank;
  remove(Native(OutDirUtf8() + "/" + stem + ".doc").c_str());
  ASSERT_EQ(0, RunTool({"-o", dir, Native(OutDirUtf8() + "/" + stem + ".csv")}).status);
  EXPECT_EQ("0:q\r\na\r\n", ReadWholeFile(Native(OutDirUtf8() + "/" + stem + ".doc")));
}

TEST(CliErrors, UnwritableOutputFolderFailsTheFile) {
  std::string dir = Native(std::string(QX_BINARY_DIR) + "/no/such/folder");
  ToolRun r = RunTool({"-o", dir, Sample("csv")});
  EXPECT_EQ(1, r.status);
  EXPECT_NE(std::string::npos, r.err.find(".doc"));
}

}  // namespace
}  // namespace qx::cli
