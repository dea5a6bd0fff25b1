// The demonstration program driven from this process as a user would:
// found by its title, typed into, clicked, its menu chosen by command and
// by its keyboard shortcut, its modal windows opened one inside the other,
// a label's font chosen in the real font dialog, closed with Esc.
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"

namespace qx {
namespace {

using namespace driver;

// Our build tree as Wine sees it.
std::string DemoPath() {
  std::string path = std::string("Z:") + QX_BINARY_DIR + "/ui/demo/quillox-demo.exe";
  for (char& c : path)
    if (c == '/') c = '\\';
  return "\"" + path + "\"";
}

// Child identifiers: created from the last control back, 100 and up.
constexpr int kLog = 120, kToggle = 130, kCount = 140, kAppend = 150, kInput = 160, kCaption = 170;
// The modal window's.
constexpr int kModalOk = 120, kModalAgain = 110, kModalInput = 130;
// Menu commands: the runtime's first, plus the item's record number.
constexpr int kCountCommand = 0x7000 + 2, kModalCommand = 0x7000 + 3, kFontCommand = 0x7000 + 7;

const char kTitle[] = "Quillox 运行时演示";
const char kModal[] = "模态窗口";
const char kAbout[] = "关于 Quillox 运行时";
const char kFontTitle[] = "选择标签字体";

bool WaitForText(HWND control, const std::string& text) {
  for (int i = 0; i < 100; ++i) {
    if (Text(control) == text) return true;
    Sleep(50);
  }
  return false;
}

// Picks an entry of the font dialog's colour list, as a click would.
void PickColour(HWND dialog, int index) {
  constexpr int kColours = 0x473;  // cmb4
  HWND box = GetDlgItem(dialog, kColours);
  SendMessageA(box, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kColours, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

class DemoEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    process_ = Launch(DemoPath());
    ASSERT_NE(nullptr, process_);
    window_ = WaitForWindow(kTitle, 20000);
    ASSERT_NE(nullptr, window_);
  }
  void TearDown() override {
    // A demonstration left running would stand in the way of later tests.
    if (process_ && WaitForExit(process_, 0) == -2) TerminateProcess(process_, 1);
    if (process_) CloseHandle(process_);
  }
  // Esc ends the program with 0.
  void EndWithEsc() {
    PressKey(Child(window_, kInput), VK_ESCAPE);
    EXPECT_EQ(0, WaitForExit(process_, 20000));
    EXPECT_FALSE(IsWindow(window_));
  }
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
};

TEST_F(DemoEndToEnd, TypedTextIsAppendedTogglesWorkAndEscEndsTheProgramWithZero) {
  std::string log = Text(Child(window_, kLog));
  EXPECT_EQ("窗口已创建：全部控件来自窗口描述。\r\n", log);

  SetText(Child(window_, kInput), "你好，世界");
  Click(Child(window_, kAppend));
  EXPECT_EQ(log + "你好，世界\r\n", Text(Child(window_, kLog)));
  EXPECT_EQ("", Text(Child(window_, kInput)));

  Click(Child(window_, kCount));
  Click(Child(window_, kCount));
  EXPECT_EQ("已点击 2 次", Text(Child(window_, kCaption)));

  Click(Child(window_, kToggle));
  EXPECT_FALSE(IsWindowEnabled(Child(window_, kAppend)));
  std::string before = Text(Child(window_, kLog));
  Click(Child(window_, kAppend));
  EXPECT_EQ(before, Text(Child(window_, kLog)));
  EndWithEsc();
}

TEST_F(DemoEndToEnd, AMenuItemRunsByItsCommandAndByItsShortcut) {
  Command(window_, kCountCommand);
  EXPECT_TRUE(WaitForText(Child(window_, kCaption), "已点击 1 次"));
  PressChord(window_, {VK_CONTROL, 'K'});
  EXPECT_TRUE(WaitForText(Child(window_, kCaption), "已点击 2 次"));
  EndWithEsc();
}

TEST_F(DemoEndToEnd, ModalWindowsKeepTheOthersFromInputUntilTheyCloseOneInsideTheOther) {
  Command(window_, kModalCommand);
  HWND modal = WaitForWindow(kModal, 10000);
  ASSERT_NE(nullptr, modal);
  EXPECT_FALSE(IsWindowEnabled(window_));

  // Posted, not sent: the button's handler returns only when the window it
  // opens has closed.
  PressKey(Child(modal, kModalAgain), VK_SPACE);
  HWND about = WaitForWindow(kAbout, 10000);
  ASSERT_NE(nullptr, about);
  EXPECT_FALSE(IsWindowEnabled(modal));
  EXPECT_FALSE(IsWindowEnabled(window_));
  Close(about);
  EXPECT_TRUE(WaitForWindowGone(kAbout, 10000));
  EXPECT_TRUE(IsWindowEnabled(modal));
  EXPECT_FALSE(IsWindowEnabled(window_));

  SetText(Child(modal, kModalInput), "模态里的字");
  Click(Child(modal, kModalOk));
  EXPECT_TRUE(WaitForWindowGone(kModal, 10000));
  EXPECT_TRUE(IsWindowEnabled(window_));
  // The menu command's handler went on once the modal run had ended.
  EXPECT_TRUE(WaitForText(Child(window_, kLog),
                          "窗口已创建：全部控件来自窗口描述。\r\n打开模态窗口……\r\n"
                          "模态窗口输入：模态里的字\r\n模态窗口已关闭，载入它的菜单命令这才返回。\r\n"));
  EndWithEsc();
}

// The dialog opens on the label's font; what is confirmed there becomes the
// label's font record and its colour, and a cancel leaves them as they were.
TEST_F(DemoEndToEnd, AFontChosenInTheFontDialogBecomesTheLabelsAndACancelChangesNothing) {
  HWND log = Child(window_, kLog);
  std::string lines = Text(log);
  Command(window_, kFontCommand);
  HWND dialog = WaitForDialog(kFontTitle, 10000);
  ASSERT_NE(nullptr, dialog);
  // The stored font: 14 pixels, 11 points at the screen's 96 per inch.
  EXPECT_EQ("11", Text(GetDlgItem(dialog, 0x472)));
  PickColour(dialog, 9);  // red, the tenth of the sixteen
  ASSERT_TRUE(ChooseFontIn(dialog, "Arial", "16", true));
  lines += "标签字体：Arial，16 磅，下划线，颜色 RGB(255,0,0)\r\n";
  EXPECT_TRUE(WaitForText(log, lines));

  Command(window_, kFontCommand);
  dialog = WaitForDialog(kFontTitle, 10000);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Arial", Text(GetDlgItem(dialog, 0x470)));
  EXPECT_EQ("16", Text(GetDlgItem(dialog, 0x472)));
  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, 0x411), BM_GETCHECK, 0, 0));
  PickColour(dialog, 2);
  SendMessageA(GetDlgItem(dialog, 0x411), BM_CLICK, 0, 0);
  CancelDialog(dialog);
  EXPECT_TRUE(WaitForText(log, lines + "字体未改变：Arial，16 磅，下划线，颜色 RGB(255,0,0)\r\n"));
  EndWithEsc();
}

}  // namespace
}  // namespace qx
