// The file dialog control on a real window, its dialogs driven from a second
// process as a user would: find it, type a name, press OK or Cancel.
#include "WindowTestSupport.h"

#include <ole2.h>

#include <thread>
#include <vector>

#include "Driver.h"
#include "OleSession_win.h"
#include "TestSupport.h"
#include "runtime/HelperTable.h"
#include "ui/FileDialogKind.h"
#include "ui/HelpViewer_win.h"
#include "ui/Properties.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kDialog = 0x16010070;

class FileDialogTest : public ::testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    WindowTemplate w = SmallWindow();
    w.records.push_back(Record(kDialog, kTagFileDialog, 552, 688, 48, 40, kUnitVisible, ""));
    ASSERT_TRUE(StartWithWindow({w}));
    folder = TempFolder();
  }
  void TearDown() override {
    StopRuntime();
  }

  TaggedValue Get(int32_t property) { return GetUnitProperty(kTestWindow, kDialog, property, -1); }
  std::string GetText(int32_t property) { return TakeText(Get(property)); }
  void Set(int32_t property, TaggedValue v) {
    SetUnitProperty(kTestWindow, kDialog, property, -1, v.lo, v.hi);
  }
  void SetText(int32_t property, const std::string& text) { Set(property, Text(text.c_str())); }

  // Shows the dialog while a driver process answers it; the command's result.
  bool ShowAnswered(const char* title, const std::string& answer) {
    HANDLE driver = driver::Launch(BuiltProgram("tests/ui/qxdriver.exe") + " file \"" + title +
                                   "\" \"" + answer + "\"");
    EXPECT_NE(nullptr, driver);
    TaggedValue arg = {kTestWindow, kDialog, kTagFileDialog};
    TaggedValue r = HelperTable().callCoreCommand(ShowFileDialog, 1, &arg);
    EXPECT_EQ(0, driver::WaitForExit(driver, 30000));
    CloseHandle(driver);
    EXPECT_EQ(kTagBool, r.tag);
    return r.lo != 0;
  }

  std::string MakeFile(const char* name) {
    std::string path = folder + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    return path;
  }

  std::string folder;
};

TEST_F(FileDialogTest, TheControlIsAHiddenChildOfItsOwnClassWithTheDefaultSettings) {
  HWND h = Hwnd(kDialog);
  ASSERT_NE(nullptr, h);
  EXPECT_EQ("_QX_CommonDlg", ClassOf(h));
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(Hwnd(0), GetParent(h));
  EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), GetClassLongPtrA(h, GCL_STYLE));
  EXPECT_EQ(0u, GetClassLongPtrA(h, GCLP_HBRBACKGROUND));
  EXPECT_EQ(0u, Get(kFileDialogType).lo);
  EXPECT_EQ(0u, Get(kFileDialogFilterIndex).lo);
  for (int p : {kFileDialogTitle, kFileDialogFileName, kFileDialogFilter, kFileDialogInitialFolder, kFileDialogDefaultExtension})
    EXPECT_EQ("", GetText(p)) << p;
  EXPECT_EQ(kTagBool, Get(kFileDialogCreatePrompt).tag);
  EXPECT_EQ(0u, Get(kFileDialogCreatePrompt).lo);
  EXPECT_EQ(1u, Get(kFileDialogFileMustExist).lo);
  EXPECT_EQ(1u, Get(kFileDialogOverwritePrompt).lo);
  EXPECT_EQ(1u, Get(kFileDialogPathMustExist).lo);
  EXPECT_EQ(0u, Get(kFileDialogKeepCurrentFolder).lo);
}

TEST_F(FileDialogTest, WritingSettingsOnlyStoresThemWithinTheirLimits) {
  Set(kFileDialogType, MakeInt(7));
  EXPECT_EQ(3u, Get(kFileDialogType).lo);
  Set(kFileDialogType, MakeInt(-2));
  EXPECT_EQ(0u, Get(kFileDialogType).lo);
  Set(kFileDialogFilterIndex, MakeInt(-4));
  EXPECT_EQ(0u, Get(kFileDialogFilterIndex).lo);
  Set(kFileDialogFilterIndex, MakeInt(2));
  EXPECT_EQ(2u, Get(kFileDialogFilterIndex).lo);
  SetText(kFileDialogTitle, "标题");
  SetText(kFileDialogFileName, "C:\\题库.xlsx");
  Set(kFileDialogKeepCurrentFolder, MakeBool(true));
  Set(kFileDialogFileMustExist, MakeBool(false));
  EXPECT_EQ("标题", GetText(kFileDialogTitle));
  EXPECT_EQ("C:\\题库.xlsx", GetText(kFileDialogFileName));
  EXPECT_EQ(1u, Get(kFileDialogKeepCurrentFolder).lo);
  EXPECT_EQ(0u, Get(kFileDialogFileMustExist).lo);
  // Nothing was shown, and the control was not re-created.
  EXPECT_EQ(nullptr, FindWindowA("#32770", "标题"));
  EXPECT_FALSE(IsWindowVisible(Hwnd(kDialog)));
}

TEST_F(FileDialogTest, AConfirmedChoiceBecomesTheFileNameAndACancelKeepsIt) {
  std::string chosen = MakeFile("题库甲.xlsx");
  SetText(kFileDialogTitle, "选择题库文件");
  SetText(kFileDialogInitialFolder, folder);
  ASSERT_TRUE(ShowAnswered("选择题库文件", chosen));
  EXPECT_EQ(chosen, GetText(kFileDialogFileName));
  // Cancelled: the previous choice stays.
  EXPECT_FALSE(ShowAnswered("选择题库文件", "-"));
  EXPECT_EQ(chosen, GetText(kFileDialogFileName));
  DeleteFileA(chosen.c_str());
}

TEST_F(FileDialogTest, TheSaveDialogTakesANewFileAndTheOpenDialogWithoutMustExistToo) {
  std::string fresh = folder + "新文档.doc";
  DeleteFileA(fresh.c_str());
  Set(kFileDialogType, MakeInt(1));
  SetText(kFileDialogTitle, "另存为");
  ASSERT_TRUE(ShowAnswered("另存为", fresh));
  EXPECT_EQ(fresh, GetText(kFileDialogFileName));

  std::string other = folder + "尚不存在.xlsx";
  DeleteFileA(other.c_str());
  Set(kFileDialogType, MakeInt(0));
  Set(kFileDialogFileMustExist, MakeBool(false));
  SetText(kFileDialogTitle, "打开");
  ASSERT_TRUE(ShowAnswered("打开", other));
  EXPECT_EQ(other, GetText(kFileDialogFileName));
}

// The filter list and its selection as the dialog shows them, read from the
// dialog's file-type box before cancelling.
TEST_F(FileDialogTest, TheFilterAndItsIndexReachTheDialog) {
  SetText(kFileDialogTitle, "筛选");
  SetText(kFileDialogFilter, "表格|*.xls;*.xlsx|文本|*.txt");
  Set(kFileDialogFilterIndex, MakeInt(1));
  std::string selected;
  int count = -1;
  std::thread reader([&] {
    HWND dialog = driver::WaitForDialog("筛选", 20000);
    if (!dialog) return;
    HWND types = GetDlgItem(dialog, 0x470);  // cmb1
    count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    char text[64] = "";
    SendMessageA(types, CB_GETLBTEXT, SendMessageA(types, CB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(text));
    selected = text;
    driver::CancelDialog(dialog);
  });
  TaggedValue arg = {kTestWindow, kDialog, kTagFileDialog};
  TaggedValue r = HelperTable().callCoreCommand(ShowFileDialog, 1, &arg);
  reader.join();
  EXPECT_EQ(0u, r.lo);
  EXPECT_EQ(2, count);
  EXPECT_EQ("文本", selected);
}

// Settings 20-29 are stored as they come, but for the help command, a
// choice of six.
TEST_F(FileDialogTest, TheFontAndHelpSettingsAreStoredTheHelpCommandWithinItsSix) {
  Set(kFileDialogFontStrikeOut, MakeInt(5));
  EXPECT_EQ(kTagBool, Get(kFileDialogFontStrikeOut).tag);
  EXPECT_EQ(1u, Get(kFileDialogFontStrikeOut).lo);
  SetText(kFileDialogHelpKey, "转换");
  EXPECT_EQ("转换", GetText(kFileDialogHelpKey));
  Set(kFileDialogHelpCommand, MakeInt(9));
  EXPECT_EQ(5u, Get(kFileDialogHelpCommand).lo);
  Set(kFileDialogHelpCommand, MakeInt(-1));
  EXPECT_EQ(0u, Get(kFileDialogHelpCommand).lo);
}

// The font dialog as a user meets it: it opens on the control's font under
// the control's title; a cancel changes nothing, a confirmed choice becomes
// the control's font.
TEST_F(FileDialogTest, TheFontDialogStartsFromTheSettingsAndAConfirmedFontIsWrittenBack) {
  Set(kFileDialogType, MakeInt(2));
  SetText(kFileDialogTitle, "选择字体");
  // Nothing set: the default GUI font, by the family the system draws it
  // with (its own name is one the dialog does not list).
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  std::vector<char> metrics(GetOutlineTextMetricsA(screen, 0, nullptr));
  auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
  GetOutlineTextMetricsA(screen, static_cast<UINT>(metrics.size()), otm);
  std::string guiFamily = metrics.data() + reinterpret_cast<uintptr_t>(otm->otmpFamilyName);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  std::string startFace;
  std::thread first([&] {
    HWND dialog = driver::WaitForDialog("选择字体", 10000);
    if (!dialog) dialog = driver::WaitForDialog("确定", 5000);
    if (!dialog) return;
    startFace = driver::Text(GetDlgItem(dialog, 0x470));
    driver::CancelDialog(dialog);
  });
  TaggedValue arg = {kTestWindow, kDialog, kTagFileDialog};
  EXPECT_EQ(0u, HelperTable().callCoreCommand(ShowFileDialog, 1, &arg).lo);
  first.join();
  EXPECT_EQ(guiFamily, startFace);
  EXPECT_EQ("", GetText(kFileDialogFontName));

  SetText(kFileDialogFontName, "Arial");
  Set(kFileDialogFontSize, MakeInt(12));
  Set(kFileDialogFontBold, MakeBool(true));
  Set(kFileDialogFontColour, MakeInt(0x123456));

  // Found by its title; a dialog without it is found by its face and
  // cancelled all the same, so that the failure shows instead of a hang.
  std::string face, size;
  bool underline = true, titled = false;
  std::thread reader([&] {
    HWND dialog = driver::WaitForDialog("选择字体", 10000);
    titled = dialog != nullptr;
    if (!dialog) dialog = driver::WaitForDialog("Arial", 5000);
    if (!dialog) return;
    face = driver::Text(GetDlgItem(dialog, 0x470));
    size = driver::Text(GetDlgItem(dialog, 0x472));
    underline = SendMessageA(GetDlgItem(dialog, 0x411), BM_GETCHECK, 0, 0) == BST_CHECKED;
    driver::CancelDialog(dialog);
  });
  TaggedValue r = HelperTable().callCoreCommand(ShowFileDialog, 1, &arg);
  reader.join();
  EXPECT_TRUE(titled);
  EXPECT_EQ(kTagBool, r.tag);
  EXPECT_EQ(0u, r.lo);
  EXPECT_EQ("Arial", face);
  EXPECT_EQ("12", size);
  EXPECT_FALSE(underline);
  EXPECT_EQ(FileDialogEnd::Cancelled, LastFileDialogEnd(arg));
  EXPECT_EQ("Arial", GetText(kFileDialogFontName));
  EXPECT_EQ(12u, Get(kFileDialogFontSize).lo);

  // A driver that cannot make its choice leaves the dialog up: it is
  // cancelled here then.
  HANDLE driver = driver::Launch(BuiltProgram("tests/ui/qxdriver.exe") +
                                 " font \"选择字体\" Arial 16 u");
  ASSERT_NE(nullptr, driver);
  long driverExit = -3;
  std::thread watcher([&] {
    driverExit = driver::WaitForExit(driver, 30000);
    if (driverExit != 0)
      if (HWND dialog = driver::WaitForDialog("Arial", 1000)) driver::CancelDialog(dialog);
  });
  r = HelperTable().callCoreCommand(ShowFileDialog, 1, &arg);
  watcher.join();
  CloseHandle(driver);
  EXPECT_EQ(0, driverExit);
  EXPECT_EQ(1u, r.lo);
  EXPECT_EQ("Arial", GetText(kFileDialogFontName));
  EXPECT_EQ(16u, Get(kFileDialogFontSize).lo);
  EXPECT_EQ(1u, Get(kFileDialogFontUnderline).lo);
  EXPECT_EQ(0u, Get(kFileDialogFontStrikeOut).lo);
  EXPECT_EQ(0x123456u, Get(kFileDialogFontColour).lo);
}

// The help viewer's calls, seen through its table instead of a viewer.
struct HelpCallSeen {
  HWND owner;
  std::string file;
  UINT command;
  ULONG_PTR data;
  std::string key;
};
std::vector<HelpCallSeen> g_helpCalls;
bool g_helpAnswer = true;
const HelpViewerOps kSeenViewer = {[](HWND owner, const char* file, UINT command, ULONG_PTR data) {
  HelpCallSeen c = {owner, file ? file : "", command, data, ""};
  if (command == HELP_KEY || command == HELP_PARTIALKEY)
    c.key = reinterpret_cast<const char*>(data);
  g_helpCalls.push_back(c);
  return g_helpAnswer;
}};

TEST_F(FileDialogTest, TheHelpTypeAsksTheViewerForTheFileAtWhatTheCommandSays) {
  const HelpViewerOps* old = SetHelpViewerOps(&kSeenViewer);
  g_helpCalls.clear();
  g_helpAnswer = true;
  TaggedValue arg = {kTestWindow, kDialog, kTagFileDialog};
  auto show = [&] { return HelperTable().callCoreCommand(ShowFileDialog, 1, &arg).lo != 0; };
  Set(kFileDialogType, MakeInt(3));
  // No help file named: the viewer is not asked.
  EXPECT_FALSE(show());
  EXPECT_TRUE(g_helpCalls.empty());

  SetText(kFileDialogFileName, "C:\\帮助.hlp");
  Set(kFileDialogHelpContext, MakeInt(1207));
  EXPECT_TRUE(show());  // command 0: the contents
  Set(kFileDialogHelpCommand, MakeInt(1));
  EXPECT_TRUE(show());
  Set(kFileDialogHelpCommand, MakeInt(2));
  SetText(kFileDialogHelpKey, "转换");
  EXPECT_TRUE(show());
  Set(kFileDialogHelpCommand, MakeInt(3));
  EXPECT_TRUE(show());
  Set(kFileDialogHelpCommand, MakeInt(4));
  EXPECT_TRUE(show());
  Set(kFileDialogHelpCommand, MakeInt(5));
  g_helpAnswer = false;
  EXPECT_FALSE(show());
  EXPECT_EQ(FileDialogEnd::Failed, LastFileDialogEnd(arg));

  ASSERT_EQ(6u, g_helpCalls.size());
  for (const HelpCallSeen& c : g_helpCalls) {
    EXPECT_EQ("C:\\帮助.hlp", c.file);
    EXPECT_EQ(Hwnd(0), c.owner);
  }
  EXPECT_EQ(static_cast<UINT>(HELP_FINDER), g_helpCalls[0].command);
  EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), g_helpCalls[1].command);
  EXPECT_EQ(1207u, g_helpCalls[1].data);
  EXPECT_EQ(static_cast<UINT>(HELP_KEY), g_helpCalls[2].command);
  EXPECT_EQ("转换", g_helpCalls[2].key);
  EXPECT_EQ(static_cast<UINT>(HELP_PARTIALKEY), g_helpCalls[3].command);
  EXPECT_EQ("转换", g_helpCalls[3].key);
  EXPECT_EQ(static_cast<UINT>(HELP_HELPONHELP), g_helpCalls[4].command);
  EXPECT_EQ(static_cast<UINT>(HELP_QUIT), g_helpCalls[5].command);
  SetHelpViewerOps(old);
}

}  // namespace
}  // namespace qx
