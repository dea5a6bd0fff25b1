// The window's own keys beyond Tab, Enter and Esc: F1 opens the help file
// with WinHelpA (seen through the runtime's table of those calls, not in a
// help viewer), and the arrow keys move the focus through the controls in
// record order unless the focused control keeps them.
#include "WindowTestSupport.h"

#include "ui/WindowPlatform_win.h"

namespace qx {
namespace {

using namespace test;

struct HelpCall {
  HWND owner;
  std::string file;
  UINT command;
  ULONG_PTR data;
};
std::vector<HelpCall> g_help;

BOOL WINAPI RecordHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
  g_help.push_back({owner, file ? file : "", command, data});
  return TRUE;
}
const WindowPlatformOps kRecording = {RecordHelp, CreateAcceleratorTableA, DestroyAcceleratorTable,
                                      DestroyMenu};

WindowTemplate HelpWindow(bool f1, const char* file, uint32_t context) {
  WindowTemplate w = SmallWindow();
  WindowSettings s;
  s.title = "帮助窗口";
  s.f1Help = f1;
  s.helpFile = file;
  s.helpContext = context;
  w.records[0].typeBlock = WriteWindowSettings(s);
  return w;
}

class WindowKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_help.clear();
    SetWindowPlatformOps(&kRecording);
    folder_ = g_runtime.programFolder;
    name_ = g_runtime.programName;
    g_runtime.programFolder = "C:\\程序";
    g_runtime.programName = "演示.exe";
  }
  void TearDown() override {
    StopRuntime();
    SetWindowPlatformOps(nullptr);
    g_runtime.programFolder = folder_;
    g_runtime.programName = name_;
  }
  void Load(WindowTemplate w) {
    ASSERT_TRUE(StartWithWindow({w}));
    Pump();
  }
  static void Press(HWND at, WPARAM key) {
    PostMessageA(at, WM_KEYDOWN, key, 0);
    Pump();
  }
  std::string folder_, name_;
};

// The stored help file at its context; without one, the program's own
// .hlp in its folder; with F1 help off, nothing (F1 goes to the control).
TEST_F(WindowKeysTest, F1OpensTheHelpFileWithWinHelp) {
  struct Case {
    bool f1;
    const char* stored;
    uint32_t context;
    const char* file;  // null: no call
    UINT command;
  } cases[] = {{true, "手册.hlp", 42, "手册.hlp", HELP_CONTEXT},
               {true, "", 0, "C:\\程序\\演示.hlp", HELP_FINDER},
               {false, "手册.hlp", 42, nullptr, 0}};
  for (const Case& c : cases) {
    g_help.clear();
    Load(HelpWindow(c.f1, c.stored, c.context));
    Press(Hwnd(kEdit), VK_F1);
    ASSERT_EQ(c.file ? 1u : 0u, g_help.size()) << c.stored;
    if (c.file) {
      EXPECT_EQ(Hwnd(0), g_help[0].owner);
      EXPECT_EQ(c.file, g_help[0].file);
      EXPECT_EQ(c.command, g_help[0].command);
      EXPECT_EQ(c.context, g_help[0].data);
    }
    StopRuntime();
  }
}

TEST_F(WindowKeysTest, ArrowKeysMoveTheFocusInRecordOrderAndAnEditBoxKeepsThem) {
  Load(SmallWindow());
  // Tab stops in record order: 按钮甲, the edit box, the body, 按钮乙.
  SetFocus(Hwnd(kButton2));
  Press(GetFocus(), VK_RIGHT);  // round to the first
  EXPECT_EQ(Hwnd(kButton), GetFocus());
  Press(GetFocus(), VK_DOWN);
  EXPECT_EQ(Hwnd(kEdit), GetFocus());
  // The edit box moves its caret with them instead.
  SendMessageA(Hwnd(kEdit), EM_SETSEL, 0, 0);
  Press(GetFocus(), VK_RIGHT);
  EXPECT_EQ(Hwnd(kEdit), GetFocus());
  DWORD caret = 0;
  SendMessageA(Hwnd(kEdit), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  EXPECT_EQ(1u, caret);
  SetFocus(Hwnd(kButton));
  Press(GetFocus(), VK_UP);  // round to the last
  EXPECT_EQ(Hwnd(kButton2), GetFocus());
  Press(GetFocus(), VK_LEFT);
  EXPECT_EQ(Hwnd(kBody), GetFocus());
}

}  // namespace
}  // namespace qx
