// quillox.exe on the path of a user who has a spreadsheet application:
// our local server registered as "Excel.Application" in the test prefix,
// every call of a conversion crossing processes; the processes it brings
// up, and a user's own, under the names a spreadsheet application has; and
// a machine with no spreadsheet to start at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ConverterWindow_win.h"
#include "Driver.h"
#include "LocalServerRegistration_win.h"
#include "TempFolders_win.h"
#include "TreePaths_win.h"
#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"
#include "runtime/encoding/Gbk.h"
#include "reader/Workbook.h"

namespace qx {
namespace {

using namespace driver;
using namespace test;
using namespace test::converter;

constexpr wchar_t kServer[] = L"qxsheets-app.exe";

std::wstring Wide(const std::string& ansi) {
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, w.data(), n);
  w.resize(static_cast<size_t>(n - 1));
  return w;
}

std::string Expected(const std::string& path) {
  app::ReaderWorksheet r;
  std::string text;
  EXPECT_TRUE(app::ConvertWorksheetToText(app::MakeReaderWorksheetSource(&r), path, &text, nullptr)) << path;
  return text;
}

// The samples and the reader's test data.
std::vector<std::string> Workbooks() {
  std::vector<std::string> files;
  for (const char* f : {"samples/题库示例.xlsx", "samples/题库示例.xls", "samples/题库示例.ods",
                        "samples/题库示例.csv", "tests/reader/data/types.xlsx", "tests/reader/data/types-lo.xlsx",
                        "tests/reader/data/types-gnm.xlsx", "tests/reader/data/types-lo.ods",
                        "tests/reader/data/types-gnm.ods", "tests/reader/data/date1904.xlsx",
                        "tests/reader_xls/data/xlwt_basic.xls", "tests/reader_xls/data/gnumeric_dual.xls",
                        "tests/reader_xls/data/gnumeric_formulas.xls", "tests/reader_xls/data/gnumeric_csv.xls",
                        "tests/reader_xls/data/questions.csv"})
    files.push_back(SourcePath(f));
  return files;
}

// One run of the window program, driven as a user drives it.
class Program {
 public:
  explicit Program(const std::string& exe) {
    process_ = Launch("\"" + exe + "\"");
    window_ = process_ ? WaitForWindow(kTitle, 30000) : nullptr;
  }
  ~Program() {
    if (process_) EndProgram(process_, window_, 20000);
  }
  bool ok() const { return window_ != nullptr; }
  HWND Control(int id) const { return Child(window_, id); }
  void Choose(const std::string& path) {
    ASSERT_TRUE(ChooseInOpenDialog(Control(kBrowse), path));
    ASSERT_EQ(path, Text(Control(kFileName)));
  }
  // The body box's text once the conversion has put it there. The click
  // is posted, as a user's click arrives: a handler run inside a message
  // sent from another process may not call out of its own (there COM
  // refuses such calls, and Wine loses the releases made in them).
  std::string Convert(DWORD timeoutMs = 120000) {
    PostMessageA(Control(kConvert), BM_CLICK, 0, 0);
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
      std::string text = Text(Control(kBody));
      if (!text.empty()) return text;
    }
    return "<no text>";
  }
  // The message box a conversion shows, its text; the box is closed.
  std::string ConvertToMessage() {
    PostMessageA(Control(kConvert), BM_CLICK, 0, 0);
    HWND box = WaitForDialog("信息：", 20000);
    if (!box) return "<no message>";
    std::string text = Text(GetDlgItem(box, 0xFFFF));
    CancelDialog(box);
    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(50);
    return text;
  }
  void Reset() { PostMessageA(Control(kReset), BM_CLICK, 0, 0); }
  // Closes the window; the program's exit code.
  long End() {
    Close(window_);
    long code = WaitForExit(process_, 20000);
    CloseHandle(process_);
    process_ = nullptr;
    return code;
  }

 private:
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
};

// Fast paths, then cell by cell: the server refuses block values and Find
// under /CellByCell, and the conversion reads three calls a cell, each now
// a round trip between processes.
TEST(ConverterAcrossProcesses, EveryWorkbookGivesTheHeadlessConvertersDocumentFastAndCellByCell) {
  const int running = CountProcesses(kServer);
  for (const wchar_t* behaviour : {L"", L"/CellByCell"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(behaviour)));
    LocalServerRegistration registration(behaviour);
    ASSERT_TRUE(registration.ok());
    Program program(BuiltPath("app/quillox.exe"));
    ASSERT_TRUE(program.ok());
    for (const std::string& file : Workbooks()) {
      SCOPED_TRACE(file);
      std::string expected = Expected(file);
      ASSERT_NE(expected, "");
      program.Choose(file);
      EXPECT_EQ(expected, program.Convert());
      EXPECT_EQ(running + 1, CountProcesses(kServer)) << "the conversion's server runs in a process of its own";
      program.Reset();
      EXPECT_TRUE(WaitForProcessCount(kServer, running, 10000)) << "the reset ends it";
    }
    EXPECT_EQ(0, program.End());
  }
}

TEST(ConverterAcrossProcesses, AFailedOpenShowsTheServersReason) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  std::string folder = NewTempFolder("qx-broken-");
  std::string broken = folder + "\\坏文件.xlsx";
  { std::ofstream(broken, std::ios::binary) << "PK\x03\x04 broken"; }
  Program program(BuiltPath("app/quillox.exe"));
  ASSERT_TRUE(program.ok());
  program.Choose(broken);
  std::string message = program.ConvertToMessage();
  EXPECT_EQ(0u, message.find("无法打开文件：" + broken + "\r\n")) << message;
  EXPECT_GT(message.size(), ("无法打开文件：" + broken + "\r\n").size()) << "the server's reason follows";
  // Across processes too the server's reason comes as its code and words,
  // and the file is named once: only the reason follows its name.
  reader::Workbook book;
  reader::OpenFailure why;
  ASSERT_FALSE(reader::OpenWorkbookFile(broken, &book, &why));
  std::string reason;
  gbk::FromUtf8(reader::OpenFailureReason(why), &reason);
  EXPECT_EQ("无法打开文件：" + broken + "\r\n" + reason, message);
  EXPECT_EQ("", Text(program.Control(kBody)));
  EXPECT_EQ(0, program.End());
  DeleteFileA(broken.c_str());
  RemoveDirectoryA(folder.c_str());
}

// The reset and the end of the program end the spreadsheet process a
// conversion brought up, found by its name as the design has it, but not
// one of the same name that the user started: it holds the user's work.
class SpreadsheetProcessLife : public testing::TestWithParam<const char*> {};

TEST_P(SpreadsheetProcessLife, TheResetAndTheEndOfTheProgramEndOnlyTheServerTheProgramBroughtUp) {
  const std::string name = GetParam();
  const std::wstring wideName = Wide(name);
  std::string folder = NewTempFolder("qx-life-");
  std::string exe = folder + "\\" + name;
  ASSERT_TRUE(CopyFileW(LocalServerPath().c_str(), Wide(exe).c_str(), FALSE));
  {
    LocalServerRegistration registration(L"", Wide(exe));
    ASSERT_TRUE(registration.ok());
    const int before = CountProcesses(wideName.c_str());
    // The user's own, started before the program; it stays by itself.
    HANDLE users = Launch("\"" + exe + "\"");
    ASSERT_NE(nullptr, users);
    ASSERT_NE(nullptr, WaitForWindow("Quillox Sheets", 20000));
    {
      Program program(BuiltPath("app/quillox.exe"));
      ASSERT_TRUE(program.ok());
      program.Choose(SourcePath("samples/题库示例.csv"));
      EXPECT_NE("", program.Convert());
      EXPECT_EQ(before + 2, CountProcesses(wideName.c_str())) << "the user's and the conversion's";
      program.Reset();
      EXPECT_TRUE(WaitForProcessCount(wideName.c_str(), before + 1, 10000)) << "the reset ended the conversion's";
      EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(users, 0)) << "and not the user's";
      EXPECT_NE("", program.Convert());
      EXPECT_EQ(before + 2, CountProcesses(wideName.c_str()));
      EXPECT_EQ(0, program.End());
      EXPECT_TRUE(WaitForProcessCount(wideName.c_str(), before + 1, 10000)) << "the end ended the conversion's";
      EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(users, 0)) << "and not the user's";
    }
    TerminateProcess(users, 0);
    WaitForExit(users, 5000);
    CloseHandle(users);
  }
  DeleteFileA(exe.c_str());
  RemoveDirectoryA(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(Names, SpreadsheetProcessLife, testing::Values("EXCEL.exe", "et.exe"));

// A copy of the program alone in a folder, with nothing registered: it says
// that there is no spreadsheet to start, not that the file is bad.
TEST(NoSpreadsheet, TheMessageSaysSoWithoutBlamingTheFile) {
  test::RunProgram(LocalServerPath(), L"/UnregServer");
  std::string folder = NewTempFolder("qx-alone-");
  std::string exe = folder + "\\quillox.exe";
  ASSERT_TRUE(CopyFileA(BuiltPath("app/quillox.exe").c_str(), exe.c_str(), FALSE));
  {
    Program program(exe);
    ASSERT_TRUE(program.ok());
    program.Choose(SourcePath("samples/题库示例.csv"));
    EXPECT_EQ("无法转换：本机没有注册电子表格程序（Excel.Application），程序所在的文件夹中也没有它的替代 qxsheets.dll。",
              program.ConvertToMessage());
    EXPECT_EQ("", Text(program.Control(kBody)));
    EXPECT_EQ(0, program.End());
  }
  DeleteFileA(exe.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace qx
