// quillox.exe driven from this process as a user drives it: a file chosen
// in the open dialog, converted, replaced, saved, reset, the window closed.
// Our spreadsheet server sits beside the program, as it does in a release.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "ConverterWindow_win.h"
#include "Driver.h"
#include "TempFolders_win.h"
#include "TreePaths_win.h"
#include "WholeFile.h"
#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"
#include "app/Replacement.h"
#include "app/SpreadsheetProcesses_win.h"
#include "runtime/encoding/Gbk.h"
#include "reader/Workbook.h"

namespace qx {
namespace {

using namespace driver;
using namespace test;
using namespace test::converter;


std::string Expected(const std::string& path) {
  app::ReaderWorksheet r;
  std::string text;
  EXPECT_TRUE(app::ConvertWorksheetToText(app::MakeReaderWorksheetSource(&r), path, &text, nullptr));
  return text;
}

// Posted, not sent: the handler shows a modal box or dialog and this
// process must stay free to answer it.
void PostClick(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

class ConverterProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch("\"" + BuiltPath("app/quillox.exe") + "\"");
    ASSERT_NE(nullptr, process);
    window = WaitForWindow(kTitle, 30000);
    ASSERT_NE(nullptr, window);
    folder = NewTempFolder("qx-converter-");
  }
  void TearDown() override {
    if (process) EndProgram(process, window, 20000);
  }
  HWND Control(int id) { return Child(window, id); }

  void Choose(const std::string& path) {
    ASSERT_TRUE(ChooseInOpenDialog(Control(kBrowse), path));
    // The handler goes on after the dialog has gone: until it has put the
    // choice into the box, a drop could land first and be overwritten.
    for (int i = 0; i < 200 && Text(Control(kFileName)) != path; ++i) Sleep(10);
  }
  static bool WaitForWindowGoneHandle(HWND h) {
    for (int i = 0; i < 200 && IsWindow(h); ++i) Sleep(50);
    return !IsWindow(h);
  }
  std::string SavedAs(const std::string& name) {
    SetText(Control(kFolder), folder.c_str());
    Click(Control(kSave));
    return ReadWholeFile(folder + "\\" + name + ".doc");
  }

  HANDLE process = nullptr;
  HWND window = nullptr;
  std::string folder;
};

TEST_F(ConverterProgram, EachSampleIsConvertedReplacedAndSavedAsTheHeadlessConverterMakesIt) {
  for (const char* ext : {"xlsx", "xls", "ods", "csv"}) {
    std::string path = SourcePath(std::string("samples/题库示例.") + ext);
    SCOPED_TRACE(path);
    std::string expected = Expected(path);
    ASSERT_NE(expected, "");
    Choose(path);
    EXPECT_EQ(path, Text(Control(kFileName)));
    Click(Control(kConvert));
    EXPECT_EQ(expected, Text(Control(kBody)));
    // The extension is cut at the last dot, whatever its length.
    std::string name = "题库示例";
    EXPECT_EQ(expected, SavedAs(name));
    Click(Control(kAutoReplace));
    EXPECT_FALSE(IsWindowEnabled(Control(kAutoReplace)));
    EXPECT_EQ(app::AutoReplace(expected), SavedAs(name));
    Click(Control(kReset));
    EXPECT_EQ("", Text(Control(kBody)));
    EXPECT_EQ("", Text(Control(kFileName)));
    EXPECT_TRUE(IsWindowEnabled(Control(kAutoReplace)));
  }
  PressKey(Control(kBody), VK_ESCAPE);
  EXPECT_EQ(0, WaitForExit(process, 20000));
}

// The dialog's own remembered name is what a cancelled browse brings back.
TEST_F(ConverterProgram, ACancelledBrowseBringsBackTheLastConfirmedFile) {
  PostClick(Control(kBrowse));
  HWND dialog = WaitForDialog("打开", 20000);
  ASSERT_NE(nullptr, dialog);
  CancelDialog(dialog);
  ASSERT_TRUE(WaitForWindowGoneHandle(dialog));
  EXPECT_EQ("", Text(Control(kFileName)));

  std::string path = SourcePath("samples/题库示例.csv");
  Choose(path);
  SetText(Control(kFileName), "手写的路径");
  PostClick(Control(kBrowse));
  dialog = WaitForDialog("打开", 20000);
  ASSERT_NE(nullptr, dialog);
  CancelDialog(dialog);
  ASSERT_TRUE(WaitForWindowGoneHandle(dialog));
  EXPECT_EQ(path, Text(Control(kFileName)));
  Click(Control(kConvert));
  EXPECT_EQ(Expected(path), Text(Control(kBody))) << "and it is what converts";
}

// A drop replaces what the dialog chose, but the dialog keeps its own
// name: a cancelled browse brings the dialog's file back, not the dropped one.
TEST_F(ConverterProgram, ADroppedFileIsWhatConvertsUntilTheDialogIsOpenedAgain) {
  std::string chosen = SourcePath("samples/题库示例.csv");
  // Not another sample: they all hold the same bank.
  std::string dropped = folder + "\\拖放的题库.csv";
  { std::ofstream(dropped, std::ios::binary) << "题型,题目\r\n单选题,拖放来的题目\r\n"; }
  Choose(chosen);
  SetForegroundWindow(window);
  DragFilesOnto(Control(kFileName), {dropped});
  EXPECT_EQ(dropped, Text(Control(kFileName)));
  Click(Control(kConvert));
  EXPECT_EQ(Expected(dropped), Text(Control(kBody)));
  EXPECT_NE(Expected(chosen), Text(Control(kBody)));
  DeleteFileA(dropped.c_str());

  PostClick(Control(kBrowse));
  HWND dialog = WaitForDialog("打开", 20000);
  ASSERT_NE(nullptr, dialog);
  CancelDialog(dialog);
  ASSERT_TRUE(WaitForWindowGoneHandle(dialog));
  EXPECT_EQ(chosen, Text(Control(kFileName)));
}

// Several files come as one text, each name ended by CR LF; it is kept as
// it is, and since it names no one file the conversion says so.
TEST_F(ConverterProgram, TwoDroppedFilesAreKeptAsOneTextThatCannotBeOpened) {
  std::string a = SourcePath("samples/题库示例.csv"), b = SourcePath("samples/题库示例.xls");
  SetForegroundWindow(window);
  DragFilesOnto(Control(kFileName), {a, b});
  EXPECT_EQ(a + "\r\n" + b + "\r\n", Text(Control(kFileName)));
  PostClick(Control(kConvert));
  HWND failed = WaitForDialog("信息：", 20000);
  ASSERT_NE(nullptr, failed);
  EXPECT_EQ(0u, Text(GetDlgItem(failed, 0xFFFF)).find("无法打开文件："));
  CancelDialog(failed);
  ASSERT_TRUE(WaitForWindowGoneHandle(failed));
  EXPECT_EQ("", Text(Control(kBody)));
}

TEST_F(ConverterProgram, ConvertingTwiceAppendsTwiceAndManualReplacementWorksOnTheWhole) {
  std::string path = SourcePath("samples/题库示例.csv");
  std::string expected = Expected(path);
  Choose(path);
  Click(Control(kConvert));
  Click(Control(kConvert));
  EXPECT_EQ(expected + expected, Text(Control(kBody)));
  SetText(Control(kSearch), "单选题");
  SetText(Control(kReplaceWith), "");
  Click(Control(kManualReplace));
  EXPECT_EQ(app::ManualReplace(expected + expected, "单选题", ""), Text(Control(kBody)));
}

TEST_F(ConverterProgram, ConvertingWithoutAFileOrWithAnUnreadableOneSaysSo) {
  PostClick(Control(kConvert));
  HWND box = WaitForDialog("请选择文件：", 20000);
  ASSERT_NE(nullptr, box);
  CancelDialog(box);
  ASSERT_TRUE(WaitForWindowGoneHandle(box));
  EXPECT_EQ("", Text(Control(kBody)));

  // A file that is there but is no workbook.
  std::string broken = folder + "\\坏文件.xlsx";
  { std::ofstream(broken, std::ios::binary) << "PK\x03\x04 broken"; }
  Choose(broken);
  PostClick(Control(kConvert));
  HWND failed = WaitForDialog("信息：", 20000);
  ASSERT_NE(nullptr, failed);
  std::string message = Text(GetDlgItem(failed, 0xFFFF));  // the box's text
  EXPECT_EQ(0u, message.find("无法打开文件：" + broken)) << message;
  EXPECT_GT(message.size(), ("无法打开文件：" + broken).size()) << "and says why";
  CancelDialog(failed);
  EXPECT_EQ("", Text(Control(kBody)));
  DeleteFileA(broken.c_str());
}

// The message names the file once, and what follows is only why, as the
// reader behind our server said it (its sentence for other clients names the
// file again).
TEST_F(ConverterProgram, AFileThatCannotBeOpenedIsNamedOnceAndThenWhy) {
  std::string broken = folder + "\\坏文件.xlsx", missing = folder + "\\没有这个文件.xlsx";
  { std::ofstream(broken, std::ios::binary) << "PK\x03\x04 broken"; }
  reader::Workbook book;
  reader::OpenFailure why;
  ASSERT_FALSE(reader::OpenWorkbookFile(broken, &book, &why));
  std::string brokenReason;
  gbk::FromUtf8(reader::OpenFailureReason(why), &brokenReason);
  for (const auto& [path, reason] : {std::pair(broken, brokenReason), std::pair(missing, std::string("文件不存在"))}) {
    // Dropped: the open dialog takes no file that is not there.
    SetForegroundWindow(window);
    DragFilesOnto(Control(kFileName), {path});
    PostClick(Control(kConvert));
    HWND failed = WaitForDialog("信息：", 20000);
    ASSERT_NE(nullptr, failed);
    EXPECT_EQ("无法打开文件：" + path + "\r\n" + reason, Text(GetDlgItem(failed, 0xFFFF)));
    CancelDialog(failed);
    ASSERT_TRUE(WaitForWindowGoneHandle(failed));
  }
  DeleteFileA(broken.c_str());
}

TEST_F(ConverterProgram, SavingWithoutAFolderAsksForOne) {
  PostClick(Control(kSave));
  HWND box = WaitForDialog("请选择文件：", 20000);
  ASSERT_NE(nullptr, box) << "an empty file-name box is named first";
  CancelDialog(box);
  ASSERT_TRUE(WaitForWindowGoneHandle(box));
  SetText(Control(kFileName), "D:\\题库\\第一章.xls");
  PostClick(Control(kSave));
  box = WaitForDialog("请选择保存目录：", 20000);
  ASSERT_NE(nullptr, box);
  CancelDialog(box);
}

// A drive root comes back from the folder browser with its backslash, so
// the target holds two in a row; the system reads that as one.
TEST_F(ConverterProgram, ADriveRootChosenInTheBrowserReceivesTheDocument) {
  std::string path = SourcePath("samples/题库示例.csv");
  Choose(path);
  Click(Control(kConvert));
  PostClick(Control(kChooseFolder));
  HWND browser = WaitForDialog("选择目录：", 20000);
  ASSERT_NE(nullptr, browser);
  ASSERT_TRUE(ChooseFolderIn(browser, "C:\\"));
  ASSERT_TRUE(WaitForWindowGoneHandle(browser));
  EXPECT_EQ("C:\\", Text(Control(kFolder)));
  DeleteFileA("C:\\题库示例.doc");
  Click(Control(kSave));
  EXPECT_EQ(Expected(path), ReadWholeFile("C:\\题库示例.doc"));
  DeleteFileA("C:\\题库示例.doc");
}

// With our in-process server nothing outlives the window: the program
// ends by itself, promptly and cleanly, once its window is closed.
TEST_F(ConverterProgram, ClosingAfterAConversionEndsTheProgramCleanly) {
  Choose(SourcePath("samples/题库示例.xlsx"));
  Click(Control(kConvert));
  ASSERT_NE("", Text(Control(kBody)));
  Close(window);
  EXPECT_EQ(0, WaitForExit(process, 20000));
}

TEST_F(ConverterProgram, ResetAndCloseLeaveTheUsersOwnSpreadsheetRunning) {
  std::string et = folder + "\\et.exe";
  ASSERT_TRUE(CopyFileA(BuiltPath("tests/ui/qxsleeper.exe").c_str(), et.c_str(), FALSE));
  HANDLE users = Launch("\"" + et + "\"");
  ASSERT_NE(nullptr, users);
  Choose(SourcePath("samples/题库示例.csv"));
  Click(Control(kConvert));
  Click(Control(kReset));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(users, 500)) << "a reset ends nobody's spreadsheet";
  PressKey(Control(kBody), VK_ESCAPE);
  EXPECT_EQ(0, WaitForExit(process, 20000));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(users, 500)) << "nor does the end of the program";
  TerminateProcess(users, 0);
  WaitForExit(users, 5000);
  CloseHandle(users);
  DeleteFileA(et.c_str());
}

// A spreadsheet the user started on their own shares its name with the one
// a conversion might bring up; only the latter may be ended.
TEST(SpreadsheetProcesses, OnlyProcessesThatAppearedWithTheStartAreOurs) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "qx-et-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string et = dir + "\\et.exe";
  ASSERT_TRUE(CopyFileA(BuiltPath("tests/ui/qxsleeper.exe").c_str(), et.c_str(), FALSE));
  HANDLE users = Launch("\"" + et + "\"");
  ASSERT_NE(nullptr, users);
  Sleep(300);
  app::StartedSpreadsheets started;
  app::NoteBeforeStart(&started);
  HANDLE ours = Launch("\"" + et + "\"");
  ASSERT_NE(nullptr, ours);
  Sleep(300);
  app::NoteAfterStart(&started);
  ASSERT_EQ(1u, started.ours.size());
  EXPECT_EQ(GetProcessId(ours), started.ours[0]);
  TerminateProcess(users, 0);
  TerminateProcess(ours, 0);
  WaitForExit(users, 5000);
  WaitForExit(ours, 5000);
  CloseHandle(users);
  CloseHandle(ours);
  DeleteFileA(et.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace qx
