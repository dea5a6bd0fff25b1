// ChooseFolder driven from a second process, GetSpecialFolder against the
// system's own answers, and KillProcess on processes started here.
#include "WindowTestSupport.h"

#include <ole2.h>
#include <shlobj.h>

#include <thread>

#include "Driver.h"
#include "OleSession_win.h"
#include "TestSupport.h"
#include "runtime/Commands.h"
#include "runtime/HelperTable.h"
#include "runtime/encoding/Wide_win.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kSecondWindow = 0x52010002;

class ChooseFolderTest : public ::testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    WindowTemplate second = SmallWindow();
    second.id = kSecondWindow;
    ASSERT_TRUE(StartWithWindow({SmallWindow(), second}));
    ASSERT_TRUE(LoadWindow(FindWindowTemplate(kSecondWindow), false, false, nullptr));
    folder = TempFolder() + "输出目录甲";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    StopRuntime();
    RemoveDirectoryA(folder.c_str());
  }

  std::string Choose(const std::string& answer) {
    HANDLE driver = driver::Launch(BuiltProgram("tests/ui/qxdriver.exe") + " folder 选择目录： \"" +
                                   answer + "\"");
    EXPECT_NE(nullptr, driver);
    TaggedValue title = Text("选择目录：");
    std::string chosen = TakeText(HelperTable().callCoreCommand(ChooseFolder, 1, &title));
    EXPECT_EQ(0, driver::WaitForExit(driver, 30000));
    CloseHandle(driver);
    return chosen;
  }

  std::string folder;
};

TEST_F(ChooseFolderTest, TheChosenFolderComesBackWithoutABackslashAndCancelGivesEmpty) {
  EXPECT_EQ(folder, Choose(folder));
  EXPECT_EQ("", Choose("-"));
}

// A folder whose name GBK cannot hold comes back with '?', which names no
// folder: the system writes "²" as "2", another folder's name to save in.
// The driver reaches it by its short name, which GBK can hold.
TEST_F(ChooseFolderTest, AFolderNameGbkCannotHoldNamesNoOtherFolder) {
  const std::wstring wide = WideFromAnsi(TempFolder()) + L"题库\u00B2";
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  wchar_t shortName[MAX_PATH];
  const DWORD n = GetShortPathNameW(wide.c_str(), shortName, MAX_PATH);
  const std::string chosen = Choose(AnsiFromWide(std::wstring_view(shortName, n)));
  RemoveDirectoryW(wide.c_str());
  EXPECT_EQ(TempFolder() + "题库?", chosen);
}

TEST_F(ChooseFolderTest, TheProgramsWindowsAreDisabledWhileItIsOpenAndRestoredAfter) {
  HWND main = Hwnd(0), second = Hwnd(0, kSecondWindow);
  EnableWindow(second, FALSE);
  SetActiveWindow(main);
  bool mainEnabled = true, prompted = false;
  std::thread watcher([&] {
    HWND dialog = driver::WaitForDialog("选择目录：", 20000);
    if (!dialog) return;
    prompted = true;
    mainEnabled = IsWindowEnabled(main) != FALSE;
    driver::CancelDialog(dialog);
  });
  TaggedValue args[] = {Text("选择目录："), MakeBool(true)};
  std::string chosen = TakeText(HelperTable().callCoreCommand(ChooseFolder, 2, args));
  watcher.join();
  EXPECT_TRUE(prompted);
  EXPECT_EQ("", chosen);
  EXPECT_FALSE(mainEnabled);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindowEnabled(second));
  EXPECT_EQ(main, GetActiveWindow());
}

std::string Slashed(std::string path, bool ok) {
  if (!ok || path.empty()) return "";
  return path.back() == '\\' ? path : path + "\\";
}

TEST(GetSpecialFolder, EveryCodeGivesTheSystemsFolderWithABackslash) {
  const int csidl[] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                       CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA};
  for (int code = 0; code <= 12; ++code) {
    char path[MAX_PATH] = "";
    bool ok = true;
    if (code >= 1 && code <= 8) ok = SHGetSpecialFolderPathA(nullptr, path, csidl[code - 1], FALSE);
    if (code == 9) GetWindowsDirectoryA(path, MAX_PATH);
    if (code == 10) GetSystemDirectoryA(path, MAX_PATH);
    if (code == 11) GetTempPathA(MAX_PATH, path);
    TaggedValue arg = MakeInt(code);
    EXPECT_EQ(Slashed(path, ok), TakeText(CallCommand(GetSpecialFolder, 1, &arg))) << code;
  }
  TaggedValue desktop = MakeInt(3);
  std::string got = TakeText(CallCommand(GetSpecialFolder, 1, &desktop));
  ASSERT_FALSE(got.empty());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(got.c_str()));
}

// Copies of the sleeper under names of this run, so that nothing else can
// be taken for them.
class KillProcessTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HANDLE p : started) {
      TerminateProcess(p, 9);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
    for (const std::string& f : copies) DeleteFileA(f.c_str());
  }
  std::string Copy(const char* suffix) {
    std::string name = "qxkill" + std::to_string(GetCurrentProcessId()) + suffix + ".exe";
    std::string path = TempFolder() + name;
    std::string from = BuiltProgram("tests/ui/qxsleeper.exe");
    from = from.substr(1, from.size() - 2);
    EXPECT_TRUE(CopyFileA(from.c_str(), path.c_str(), FALSE)) << from;
    copies.push_back(path);
    return name;
  }
  HANDLE Start(const std::string& name, const std::string& title = "") {
    std::string line = "\"" + TempFolder() + name + "\"";
    if (!title.empty()) line += " \"" + title + "\"";
    HANDLE p = driver::Launch(line);
    EXPECT_NE(nullptr, p);
    started.push_back(p);
    // Running once it waits for input.
    WaitForInputIdle(p, 10000);
    return p;
  }
  static bool Ended(HANDLE p, DWORD ms = 5000) { return WaitForSingleObject(p, ms) == WAIT_OBJECT_0; }
  static bool Kill(TaggedValue what) { return CallCommand(KillProcess, 1, &what).lo != 0; }

  std::vector<HANDLE> started;
  std::vector<std::string> copies;
};

TEST_F(KillProcessTest, ANameInAnotherLetterCaseEndsThatProcessWithCodeZero) {
  std::string name = Copy("a");
  HANDLE p = Start(name);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(Kill(Text(upper.c_str())));
  ASSERT_TRUE(Ended(p));
  DWORD code = 1;
  GetExitCodeProcess(p, &code);
  EXPECT_EQ(0u, code);
  EXPECT_FALSE(Kill(Text(upper.c_str())));
}

TEST_F(KillProcessTest, OfTwoProcessesOfOneNameEachCallEndsOne) {
  std::string name = Copy("b");
  HANDLE first = Start(name), second = Start(name);
  EXPECT_TRUE(Kill(Text(name.c_str())));
  Sleep(300);
  bool firstEnded = Ended(first, 0), secondEnded = Ended(second, 0);
  EXPECT_NE(firstEnded, secondEnded);
  EXPECT_TRUE(Kill(Text(name.c_str())));
  EXPECT_TRUE(Ended(first) && Ended(second));
  EXPECT_FALSE(Kill(Text(name.c_str())));
}

TEST_F(KillProcessTest, AWindowTitleIsLookedUpFirst) {
  std::string name = Copy("c");
  std::string title = "千里之外" + std::to_string(GetCurrentProcessId());
  HANDLE p = Start(name, title);
  ASSERT_NE(nullptr, driver::WaitForWindow(title.c_str(), 10000));
  EXPECT_TRUE(Kill(Text(title.c_str())));
  EXPECT_TRUE(Ended(p));
}

TEST_F(KillProcessTest, ANumberIsAProcessIdAndNothingElseIsEnded) {
  std::string name = Copy("d");
  HANDLE p = Start(name), q = Start(name);
  EXPECT_FALSE(Kill(MakeInt(0)));
  EXPECT_FALSE(Kill(Text("")));
  EXPECT_FALSE(Kill(MakeBool(true)));
  EXPECT_TRUE(Kill(MakeInt(static_cast<int32_t>(GetProcessId(q)))));
  EXPECT_TRUE(Ended(q));
  EXPECT_FALSE(Ended(p, 200));
  EXPECT_TRUE(Kill(MakeDouble(GetProcessId(p) + 0.75)));
  EXPECT_TRUE(Ended(p));
}

}  // namespace
}  // namespace qx
