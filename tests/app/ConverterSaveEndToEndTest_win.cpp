// quillox.exe driven from this process as a user drives it, where a save or
// a choice of file can go wrong: the source chosen again as the target, a
// target the system refuses, a folder gone, a euro sign, a path too long
// for the open dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ConverterWindow_win.h"
#include "Driver.h"
#include "TempFolders_win.h"
#include "TreePaths_win.h"
#include "WholeFile.h"
#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"

namespace qx {
namespace {

using namespace driver;
using namespace test;
using namespace test::converter;

constexpr DWORD kWait = 20000;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = found.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Expected(const std::string& path) {
  app::ReaderWorksheet r;
  std::string text;
  EXPECT_TRUE(app::ConvertWorksheetToText(app::MakeReaderWorksheetSource(&r), path, &text, nullptr))
      << path;
  return text;
}

bool WaitGone(HWND h) {
  for (int i = 0; i < 200 && IsWindow(h); ++i) Sleep(50);
  return !IsWindow(h);
}

class ConverterSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = NewTempFolder("qx-save-");
    process = Launch("\"" + BuiltPath("app/quillox.exe") + "\"");
    ASSERT_NE(nullptr, process);
    window = WaitForWindow(kTitle, 30000);
    ASSERT_NE(nullptr, window);
  }
  void TearDown() override {
    if (process) EndProgram(process, window, kWait);
    RemoveTree(folder);
  }
  HWND Control(int id) { return Child(window, id); }
  std::string Made(const std::string& name) {
    std::string p = folder + "\\" + name;
    CreateDirectoryA(p.c_str(), nullptr);
    return p;
  }

  // A dialog just shown may not take the typed name yet, and a drag may
  // miss a window that is still coming to the front: each is tried again.
  void Choose(const std::string& path) { ASSERT_TRUE(ChooseInOpenDialog(Control(kBrowse), path)); }
  void Drop(const std::string& path) {
    SetText(Control(kFileName), "");
    for (int attempt = 0; attempt < 3 && Text(Control(kFileName)) != path; ++attempt) {
      SetForegroundWindow(window);
      DragFilesOnto(Control(kFileName), {path});
    }
    ASSERT_EQ(path, Text(Control(kFileName)));
  }
  // Presses a button whose handler may show a message box, and returns the
  // box's text once it is answered; empty when no box came. A sent message
  // is answered before the posted click is taken; the second one once the
  // handler has returned or its box runs its own message loop.
  std::string MessageAfter(int button) {
    PostMessageA(Control(button), BM_CLICK, 0, 0);
    for (int i = 0; i < 2; ++i) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWait, &ignored);
    }
    HWND box = WaitForDialog("信息：", 1000);
    if (!box) return "";
    std::string text = Text(GetDlgItem(box, 0xFFFF));
    CancelDialog(box);
    EXPECT_TRUE(WaitGone(box));
    return text;
  }
  std::string SaveInto(const std::string& outputFolder) {
    SetText(Control(kFolder), outputFolder.c_str());
    return MessageAfter(kSave);
  }

  HANDLE process = nullptr;
  HWND window = nullptr;
  std::string folder;
};

// A text bank named .doc is converted (read as delimited text) and its
// document is named as it is. Saved into its own folder, spelled in any way,
// it must not replace the bank with a conversion of itself.
TEST_F(ConverterSave, TheSourceIsNeverSavedOverHoweverItsFolderIsSpelled) {
  std::string banks = Made("题库 第一章 资料");
  std::string source = banks + "\\第一章.doc";
  const std::string bank = "题型,题目\r\n单选题,第一题\r\n";
  WriteFile(source, bank);
  Choose(source);
  Click(Control(kConvert));
  ASSERT_EQ(Expected(source), Text(Control(kBody)));
  ASSERT_NE("", Text(Control(kBody)));

  std::string slashes = banks, upper = banks;
  std::replace(slashes.begin(), slashes.end(), '\\', '/');
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  char shortName[MAX_PATH] = "";
  ASSERT_NE(0u, GetShortPathNameA(banks.c_str(), shortName, MAX_PATH));
  ASSERT_NE(banks, std::string(shortName));
  for (const std::string& spelling : {banks, slashes, upper, std::string(shortName)}) {
    SCOPED_TRACE(spelling);
    std::string message = SaveInto(spelling);
    EXPECT_EQ(0u, message.find("没有保存：文档会覆盖源文件本身。")) << message;
    EXPECT_EQ(bank, ReadWholeFile(source));
    EXPECT_EQ(std::vector<std::string>{"第一章.doc"}, Entries(banks));
  }

  // The bank chosen by its short name: the document takes that name, which
  // the system reads as the bank's own.
  char shortSource[MAX_PATH] = "";
  ASSERT_NE(0u, GetShortPathNameA(source.c_str(), shortSource, MAX_PATH));
  Drop(shortSource);
  EXPECT_EQ(0u, SaveInto(banks).find("没有保存：")) << shortSource;
  EXPECT_EQ(bank, ReadWholeFile(source));

  // Another document of that name elsewhere is replaced, as ever.
  std::string out = Made("输出");
  WriteFile(out + "\\第一章.doc", "旧的文档");
  Drop(source);
  EXPECT_EQ("", SaveInto(out));
  EXPECT_EQ(Expected(source), ReadWholeFile(out + "\\第一章.doc"));
}

// Saves the system refuses: the earlier document stays exactly as it was,
// the failure is said, and nothing is left beside it.
TEST_F(ConverterSave, ARefusedSaveKeepsTheEarlierDocumentAndLeavesNothingBeside) {
  std::string source = folder + "\\保存题库.csv";
  WriteFile(source, "题型,题目\r\n单选题,第一题\r\n");
  Drop(source);
  Click(Control(kConvert));
  const std::string expected = Expected(source);
  ASSERT_EQ(expected, Text(Control(kBody)));
  std::string out = Made("输出");
  std::string target = out + "\\保存题库.doc";
  const std::string earlier = "上次保存的文档";
  const std::vector<std::string> onlyTheTarget = {"保存题库.doc"};

  WriteFile(target, earlier);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("保存失败：" + target, SaveInto(out)) << "read-only";
  EXPECT_EQ(earlier, ReadWholeFile(target));
  EXPECT_EQ(onlyTheTarget, Entries(out));
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Held open by this process, shared with no one.
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ("保存失败：" + target, SaveInto(out)) << "held open";
  CloseHandle(held);
  EXPECT_EQ(earlier, ReadWholeFile(target));
  EXPECT_EQ(onlyTheTarget, Entries(out));
  EXPECT_EQ("", SaveInto(out)) << "let go of, it is saved";
  EXPECT_EQ(expected, ReadWholeFile(target));
  EXPECT_EQ(onlyTheTarget, Entries(out));

  // A folder removed between the choice and the save.
  std::string gone = Made("稍后删除");
  SetText(Control(kFolder), gone.c_str());
  RemoveDirectoryA(gone.c_str());
  EXPECT_EQ("保存失败：" + gone + "\\保存题库.doc", MessageAfter(kSave));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(gone.c_str()));
}

// The euro sign is a character of one byte: the words after it are
// replaced, and the document is named after the file, "€" and all.
TEST_F(ConverterSave, TheEuroSignKeepsTheReplacementsAndTheNameInStep) {
  std::string source = folder + "\\€题库.csv";
  WriteFile(source, "题型,题目\r\n€单选题,€€多选题\r\n€€€判断题,€\r\n");
  Choose(source);
  Click(Control(kConvert));
  const std::string converted = Expected(source);
  ASSERT_EQ(converted, Text(Control(kBody)));
  ASSERT_NE(std::string::npos, converted.find("€单选题"));

  SetText(Control(kSearch), "单选题");
  SetText(Control(kReplaceWith), "单项选择题");
  Click(Control(kManualReplace));
  Click(Control(kAutoReplace));
  std::string body = Text(Control(kBody));
  for (const char* part : {"€单项选择题", "€€【多选题】", "€€€【判断题】", "\r\n€\r\n"})
    EXPECT_NE(std::string::npos, body.find(part)) << part;

  std::string out = Made("输出");
  EXPECT_EQ("", SaveInto(out));
  EXPECT_EQ(std::vector<std::string>{"€题库.doc"}, Entries(out));
  EXPECT_EQ(body, ReadWholeFile(out + "\\€题库.doc"));
}

// The open dialog's name buffer holds 260 bytes; a GBK path of more bytes
// (fewer characters) is a file the system opens well. Choosing it is said
// to be impossible, and dropping it works.
TEST_F(ConverterSave, APathTooLongForTheDialogIsSaidAndADropTakesIt) {
  std::string deep = folder;
  while (deep.size() < 280) {
    deep += "\\第" + std::to_string(deep.size()) + "层题库资料文件夹名字很长";
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
  }
  std::string source = deep + "\\题库.csv";
  WriteFile(source, "题型,题目\r\n单选题,很深的文件夹里的题目\r\n");
  ASSERT_GT(source.size(), 260u);
  const std::string expected = Expected(source);
  ASSERT_NE("", expected);

  Choose(source);
  HWND box = WaitForDialog("信息：", kWait);
  ASSERT_NE(nullptr, box) << "the path that does not fit is said";
  std::string message = Text(GetDlgItem(box, 0xFFFF));
  EXPECT_EQ(0u, message.find("所选文件的完整路径超过 260 字节")) << message;
  EXPECT_NE(std::string::npos, message.find("拖到文件名框"));
  CancelDialog(box);
  ASSERT_TRUE(WaitGone(box));
  EXPECT_EQ("", Text(Control(kFileName))) << "as after a cancel";

  Drop(source);
  Click(Control(kConvert));
  EXPECT_EQ(expected, Text(Control(kBody)));
  std::string out = Made("输出");
  EXPECT_EQ("", SaveInto(out));
  EXPECT_EQ(expected, ReadWholeFile(out + "\\题库.doc"));
}

}  // namespace
}  // namespace qx
