// Menus from menu-item records: the bar and its popups, items chosen from
// the menu and by their shortcuts through the one handler, the items'
// properties, and what a failed load leaves.
#include "WindowTestSupport.h"

#include "Driver.h"

#include "ui/MenuItemKind.h"
#include "ui/Menus_win.h"
#include "ui/Properties.h"
#include "ui/WindowPlatform_win.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kFile = 0x26010001, kOpen = 0x26010002, kLine = 0x26010003,
                   kGrey = 0x26010004, kHidden = 0x26010005, kAbout = 0x26010006;

// The small window with, after its own record: 文件 (打开 Ctrl+O -> handler
// 5, a line, 灰色 greyed with Ctrl+G -> 6, 隐藏 not shown -> 7) and 关于
// F5 -> 8 in the bar itself.
WindowTemplate MenuWindow() {
  WindowTemplate w = SmallWindow();
  const uint32_t shown = kMenuVisible;
  std::vector<UnitRecord> items = {
      MakeMenuItemRecord(kFile, "菜单文件", "文件(&F)", 0, shown),
      MakeMenuItemRecord(kOpen, "菜单打开", "打开(&O)", 1, shown, 'O' | kShortcutCtrl, 4 * 5),
      MakeMenuItemRecord(kLine, "", "", 1, shown | kMenuSeparator),
      MakeMenuItemRecord(kGrey, "菜单灰色", "灰色", 1, shown | kMenuDisabled, 'G' | kShortcutCtrl,
                         4 * 6),
      MakeMenuItemRecord(kHidden, "菜单隐藏", "隐藏", 1, 0, 0, 4 * 7),
      MakeMenuItemRecord(kAbout, "菜单关于", "关于", 0, shown, VK_F5, 4 * 8),
  };
  w.records.insert(w.records.begin() + 1, items.begin(), items.end());
  return w;
}

std::string ItemText(HMENU menu, int at) {
  char text[64] = "";
  GetMenuStringA(menu, at, text, sizeof text, MF_BYPOSITION);
  return text;
}

// The command an item sends: its record's place.
WPARAM CommandOf(uint32_t item) {
  const WindowTemplate* w = FindWindowTemplate(kTestWindow);
  return kFirstMenuCommand + FindUnitIndex(*w, item);
}

// Counts the accelerator tables and menus made and freed.
int g_tables = 0, g_menusFreed = 0;
HACCEL WINAPI CountedCreate(LPACCEL entries, int n) {
  ++g_tables;
  return CreateAcceleratorTableA(entries, n);
}
BOOL WINAPI CountedDestroy(HACCEL table) {
  --g_tables;
  return DestroyAcceleratorTable(table);
}
BOOL WINAPI CountedDestroyMenu(HMENU menu) {
  ++g_menusFreed;
  return DestroyMenu(menu);
}
const WindowPlatformOps kCounted = {WinHelpA, CountedCreate, CountedDestroy, CountedDestroyMenu};

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_tables = g_menusFreed = 0;
    SetWindowPlatformOps(&kCounted);
  }
  void TearDown() override {
    StopRuntime();
    SetWindowPlatformOps(nullptr);
  }
  void Load(std::vector<WindowTemplate> windows = {MenuWindow()}) {
    ASSERT_TRUE(StartWithWindow(windows));
    Pump();
    EventLog().clear();
  }
};

TEST_F(MenuTest, TheRecordsMakeTheBarItsPopupsAndTheShortcutTexts) {
  Load();
  HMENU bar = GetMenu(Hwnd(0));
  ASSERT_NE(nullptr, bar);
  ASSERT_EQ(2, GetMenuItemCount(bar));
  EXPECT_EQ("文件(&F)", ItemText(bar, 0));
  EXPECT_EQ("关于\tF5", ItemText(bar, 1));
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(nullptr, file);
  ASSERT_EQ(3, GetMenuItemCount(file));  // the hidden item is left out
  EXPECT_EQ("打开(&O)\tCtrl+O", ItemText(file, 0));
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ("灰色\tCtrl+G", ItemText(file, 2));
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);
  // Menu items are no controls: the controls' child identifiers stay.
  EXPECT_EQ(100, GetDlgCtrlID(Hwnd(kButton2)));
  EXPECT_EQ(140, GetDlgCtrlID(Hwnd(kLabel)));
  // Nor are they live units for the control commands.
  EXPECT_EQ(nullptr, FindLiveUnit(kTestWindow, kOpen));
}

TEST_F(MenuTest, AChosenItemRunsItsOneHandlerWithTheItemAsTheSourceUnlessItIsGreyed) {
  static uint32_t source;
  JobOf(5) = [](TaggedValue*, int32_t, const uintptr_t*) { RunningEventSource(nullptr, &source); };
  Load();
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kOpen), 0);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kGrey), 0);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kAbout), 0);
  Pump();
  EXPECT_EQ((std::vector<std::string>{"h5", "h8"}), EventLog());
  EXPECT_EQ(kOpen, source);
}

TEST_F(MenuTest, ShortcutsChooseTheirItemsFromTheKeyboardAndNotAGreyedOne) {
  Load();
  SetFocus(Hwnd(kEdit));
  driver::PressChord(Hwnd(0), {VK_F5});
  driver::PressChord(Hwnd(0), {VK_CONTROL, 'G'});
  driver::PressChord(Hwnd(0), {VK_CONTROL, 'O'});
  for (int i = 0; i < 20 && EventLog().size() < 2; ++i) {
    Sleep(20);
    Pump();
  }
  EXPECT_EQ((std::vector<std::string>{"h8", "h5"}), EventLog());
  // The keys went to the menu, not into the edit box.
  char text[32];
  GetWindowTextA(Hwnd(kEdit), text, sizeof text);
  EXPECT_STREQ("初始", text);
}

TEST_F(MenuTest, CaptionCheckedAndDisabledChangeTheItemInItsMenu) {
  Load();
  HMENU file = GetSubMenu(GetMenu(Hwnd(0)), 0);
  TaggedValue caption = MakeTextValue("打开文件");
  SetUnitProperty(kTestWindow, kOpen, kMenuItemCaption, -1, caption.lo, caption.hi);
  EXPECT_EQ("打开文件\tCtrl+O", ItemText(file, 0));
  SetUnitProperty(kTestWindow, kOpen, kMenuItemChecked, -1, 1, 0);
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(1u, GetUnitProperty(kTestWindow, kOpen, kMenuItemChecked, -1).lo);
  SetUnitProperty(kTestWindow, kOpen, kPropertyDisabled, -1, 1, 0);
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kOpen), 0);
  Pump();
  EXPECT_TRUE(EventLog().empty());
  SetUnitProperty(kTestWindow, kGrey, kPropertyDisabled, -1, 0, 0);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kGrey), 0);
  Pump();
  EXPECT_EQ((std::vector<std::string>{"h6"}), EventLog());
}

TEST_F(MenuTest, VisibleTakesAnItemWithItsShortcutAndWhatIsUnderItInAndOutOfTheMenu) {
  Load();
  SetUnitProperty(kTestWindow, kHidden, kPropertyVisible, -1, 1, 0);
  SetUnitProperty(kTestWindow, kOpen, kPropertyVisible, -1, 0, 0);
  HMENU file = GetSubMenu(GetMenu(Hwnd(0)), 0);
  ASSERT_EQ(3, GetMenuItemCount(file));
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ("隐藏", ItemText(file, 2));
  EXPECT_EQ(0u, GetUnitProperty(kTestWindow, kOpen, kPropertyVisible, -1).lo);
  EXPECT_EQ(1u, GetUnitProperty(kTestWindow, kHidden, kPropertyVisible, -1).lo);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kOpen), 0);
  PostMessageA(Hwnd(0), WM_COMMAND, CommandOf(kHidden), 0);
  // Ctrl+O chooses nothing now; F5, after it, still chooses 关于.
  SetFocus(Hwnd(kButton));
  driver::PressChord(Hwnd(0), {VK_CONTROL, 'O'});
  driver::PressChord(Hwnd(0), {VK_F5});
  for (int i = 0; i < 20 && EventLog().size() < 2; ++i) {
    Sleep(20);
    Pump();
  }
  EXPECT_EQ((std::vector<std::string>{"h7", "h8"}), EventLog());
  EXPECT_EQ(1, g_tables);
  // A hidden popup takes its items along; shown again, it brings them back.
  SetUnitProperty(kTestWindow, kFile, kPropertyVisible, -1, 0, 0);
  ASSERT_EQ(1, GetMenuItemCount(GetMenu(Hwnd(0))));
  EXPECT_EQ("关于\tF5", ItemText(GetMenu(Hwnd(0)), 0));
  SetUnitProperty(kTestWindow, kFile, kPropertyVisible, -1, 1, 0);
  EXPECT_EQ(3, GetMenuItemCount(GetSubMenu(GetMenu(Hwnd(0)), 0)));
}

TEST_F(MenuTest, TheAcceleratorsGoWithTheWindowAndWithAFailedLoadTheMenuToo) {
  Load();
  EXPECT_EQ(1, g_tables);
  DestroyWindow(Hwnd(0));
  EXPECT_EQ(0, g_tables);
  EXPECT_EQ(0, g_menusFreed);  // the window destroyed its own

  // A control that cannot be made: the window was made, with its menu.
  WindowTemplate controlFails = MenuWindow();
  controlFails.records.back().typeTag = 0x00010063;
  // The window itself cannot be made: its menu was no window's.
  WindowTemplate windowFails = MenuWindow();
  windowFails.id = 0x52010002;
  WindowSettings newer;
  newer.version = 7;
  windowFails.records[0].typeBlock = WriteWindowSettings(newer);
  // A menu-item record of a kind that is no menu item's.
  WindowTemplate wrongKind = MenuWindow();
  wrongKind.id = 0x52010003;
  wrongKind.records[2].typeTag = kTagButton;
  StopRuntime();
  StartRuntime({controlFails, windowFails, wrongKind});
  for (uint32_t id : {0x52010001u, 0x52010002u, 0x52010003u}) {
    WindowTemplate* w = FindWindowTemplate(id);
    EXPECT_FALSE(LoadWindow(w, false, false, nullptr)) << std::hex << id;
    for (const UnitRecord& r : w->records) EXPECT_EQ(nullptr, r.live);
  }
  EXPECT_EQ(0, g_tables);
  EXPECT_EQ(1, g_menusFreed);  // the second window's; the third made none
}

}  // namespace
}  // namespace qx
