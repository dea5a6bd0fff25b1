// quillox.exe and a bank with one stray value far below it, driven from this
// process as a user drives it: every empty row in between converts to its
// row prefix alone, so the body box gets one unbroken line of thousands of
// them. The window must take it (a box that lays such a line out in cubic
// time froze for minutes), show the very bytes the headless converter
// makes, and still move the caret, select, replace and save.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ConverterWindow_win.h"
#include "Driver.h"
#include "TempFolders_win.h"
#include "TestZip.h"
#include "TreePaths_win.h"
#include "WholeFile.h"
#include "app/Replacement.h"

namespace qx {
namespace {

using namespace driver;
using namespace test;
using namespace test::converter;

// A click that has not come back after this has frozen the window: many
// times what these conversions take. (Laid out in cubic time, the line of
// the stray value 50,000 rows down would take hours.)
constexpr UINT kFrozenMs = 60000;

std::string Utf8(const std::string& gbk) {
  std::wstring w(gbk.size(), L'\0');
  w.resize(MultiByteToWideChar(CP_ACP, 0, gbk.data(), static_cast<int>(gbk.size()), &w[0],
                               static_cast<int>(w.size())));
  std::string out(w.size() * 3, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &out[0],
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::string Cell(const std::string& ref, const std::string& gbk) {
  return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + Utf8(gbk) + "</t></is></c>";
}

// 300 question rows of seven columns, and one value in column A `below`
// rows further down.
std::string StrayValueWorkbook(int below) {
  static const char* kTypes[] = {"单选题", "多选题", "判断题", "填空题"};
  test::XlsxParts p;
  for (int r = 1; r <= 300; ++r) {
    const std::string n = std::to_string(r);
    p.sheetData += "<row r=\"" + n + "\">" + Cell("A" + n, kTypes[r % 4]) +
                   Cell("B" + n, n + "、光合作用的产物是什么？") + Cell("C" + n, "氧气") +
                   Cell("D" + n, "二氧化碳") + Cell("E" + n, "水") + Cell("F" + n, "能量") +
                   Cell("G" + n, "A") + "</row>";
  }
  const std::string last = std::to_string(300 + below);
  p.sheetData += "<row r=\"" + last + "\">" + Cell("A" + last, "最后一格") + "</row>";
  return test::MakeXlsx(p);
}

class LongLineProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = NewTempFolder("qx-long-line-");
    process = Launch("\"" + BuiltPath("app/quillox.exe") + "\"");
    ASSERT_NE(nullptr, process);
    window = WaitForWindow(kTitle, 30000);
    ASSERT_NE(nullptr, window);
  }
  void TearDown() override {
    // A frozen window answers no close request: it is ended by force.
    if (process) EndProgram(process, window, 20000);
    RemoveTree(folder);
  }
  HWND Control(int id) { return Child(window, id); }

  // The workbook written as `path`, chosen in the open dialog, converted.
  void Convert(int below, std::string* path) {
    *path = folder + "\\散题" + std::to_string(below) + ".xlsx";
    { std::ofstream(*path, std::ios::binary) << StrayValueWorkbook(below); }
    ASSERT_TRUE(ChooseInOpenDialog(Control(kBrowse), *path));
    ASSERT_TRUE(ClickInTime(kConvert)) << "converting froze the window";
  }
  // False, and the program ended, when the click does not come back.
  bool ClickInTime(int id) {
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kFrozenMs, &ignored)) return true;
    TerminateProcess(process, 1);
    return false;
  }
  // What the headless converter saves for the same workbook.
  std::string Headless(const std::string& path) {
    std::string out = folder + "\\cli";
    CreateDirectoryA(out.c_str(), nullptr);
    HANDLE cli = Launch("\"" + BuiltPath("cli/quillox-cli.exe") + "\" -o \"" + out + "\" \"" + path + "\"");
    EXPECT_NE(nullptr, cli);
    if (cli) {
      EXPECT_EQ(0, WaitForExit(cli, 60000));
      CloseHandle(cli);
    }
    std::string name = path.substr(path.find_last_of('\\') + 1);
    return ReadWholeFile(out + "\\" + name.substr(0, name.size() - 5) + ".doc");
  }
  // A caret key, handled by the box before this returns. Posted keys would
  // race a check that follows: the box's thread takes messages sent to it
  // before those posted, so no sent message can tell that they are done.
  void Key(UINT virtualKey) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(Control(kBody), WM_KEYDOWN, virtualKey, 1, SMTO_NORMAL, kFrozenMs, &ignored);
    SendMessageTimeoutA(Control(kBody), WM_KEYUP, virtualKey, 0xC0000001, SMTO_NORMAL, kFrozenMs, &ignored);
  }
  int Caret() {
    DWORD start = 0, end = 0;
    SendMessageA(Control(kBody), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
  }
  int Line(int position) { return static_cast<int>(SendMessageA(Control(kBody), EM_LINEFROMCHAR, position, 0)); }
  int LineStart(int line) { return static_cast<int>(SendMessageA(Control(kBody), EM_LINEINDEX, line, 0)); }

  HANDLE process = nullptr;
  HWND window = nullptr;
  std::string folder;
};

TEST_F(LongLineProgram, StrayValuesFiveAndFiftyThousandRowsDownShowWhatTheHeadlessConverterMakes) {
  for (int below : {5000, 50000}) {
    SCOPED_TRACE(below);
    std::string path;
    ASSERT_NO_FATAL_FAILURE(Convert(below, &path));
    std::string expected = Headless(path);
    ASSERT_GT(expected.size(), static_cast<size_t>(4 * below));
    EXPECT_EQ(expected, Text(Control(kBody)));
    ASSERT_TRUE(ClickInTime(kReset));
    EXPECT_EQ("", Text(Control(kBody)));
  }
}

TEST_F(LongLineProgram, OnTheLongLineTheCaretMovesSelectionsHoldAndAManualReplacementIsSaved) {
  std::string path;
  ASSERT_NO_FATAL_FAILURE(Convert(50000, &path));
  const std::string body = Text(Control(kBody));
  ASSERT_EQ(Headless(path), body);
  std::wstring chars(body.size(), L'\0');
  chars.resize(MultiByteToWideChar(CP_ACP, 0, body.data(), static_cast<int>(body.size()), &chars[0],
                                   static_cast<int>(chars.size())));
  const int at = static_cast<int>(chars.find(L"25000:")) + 2;
  ASSERT_GT(at, 2);
  HWND box = Control(kBody);
  SendMessageA(box, EM_SETSEL, at, at);
  const int line = Line(at);
  Key(VK_END);
  EXPECT_EQ(LineStart(line + 1), Caret()) << "the wrapped line's end";
  EXPECT_EQ(L':', chars[Caret() - 1]) << "the line breaks after a prefix's colon";
  Key(VK_DOWN);
  EXPECT_GT(Caret(), LineStart(line + 1));
  EXPECT_LE(Caret(), LineStart(line + 2));
  Key(VK_HOME);
  EXPECT_EQ(LineStart(line + 1), Caret());
  Key(VK_RIGHT);
  EXPECT_EQ(LineStart(line + 1) + 1, Caret());
  // A selection across several wrapped lines holds as set.
  SendMessageA(box, EM_SETSEL, at, at + 300);
  DWORD start = 0, end = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(static_cast<DWORD>(at), start);
  EXPECT_EQ(static_cast<DWORD>(at + 300), end);
  EXPECT_GT(Line(at + 300), line + 2);

  SetText(Control(kSearch), "25000:");
  SetText(Control(kReplaceWith), "【25000】:");
  ASSERT_TRUE(ClickInTime(kManualReplace)) << "the replacement froze the window";
  const std::string replaced = app::ManualReplace(body, "25000:", "【25000】:");
  ASSERT_NE(body, replaced);
  EXPECT_EQ(replaced, Text(Control(kBody)));
  SetText(Control(kFolder), folder.c_str());
  ASSERT_TRUE(ClickInTime(kSave));
  EXPECT_EQ(replaced, ReadWholeFile(folder + "\\散题50000.doc"));
}

}  // namespace
}  // namespace qx
