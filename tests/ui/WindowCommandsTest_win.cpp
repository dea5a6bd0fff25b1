// The window commands on real controls and a real message box.
#include "WindowTestSupport.h"

#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "runtime/HelperTable.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

using namespace test;

TaggedValue ControlArg(uint32_t unit, uint32_t tag) { return {kTestWindow, unit, tag}; }

class WindowCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartWithWindow({SmallWindow()}));
    EventLog().clear();
  }
  void TearDown() override { StopRuntime(); }
};

TEST_F(WindowCommandsTest, GetWindowHandleGivesTheControlsHandleOrZero) {
  TaggedValue arg = ControlArg(kEdit, kTagEditBox);
  TaggedValue r = HelperTable().callCoreCommand(GetWindowHandle, 1, &arg);
  EXPECT_EQ(kTagInt, r.tag);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(Hwnd(kEdit)), r.lo);
  arg = ControlArg(0x16019999, kTagEditBox);
  EXPECT_EQ(0u, HelperTable().callCoreCommand(GetWindowHandle, 1, &arg).lo);
  arg = {0x52019999, kEdit, kTagEditBox};
  EXPECT_EQ(0u, HelperTable().callCoreCommand(GetWindowHandle, 1, &arg).lo);
}

TEST_F(WindowCommandsTest, AppendTextAddsEachTextAtTheEndWithTheCaretAfterIt) {
  TaggedValue args[] = {ControlArg(kBody, kTagEditBox), Text("第一行\r\n"), Text("二"), Text("")};
  HelperTable().callCoreCommand(AppendText, 4, args);
  HelperTable().callCoreCommand(AppendText, 2, args);
  char text[64];
  GetWindowTextA(Hwnd(kBody), text, sizeof text);
  EXPECT_STREQ("第一行\r\n二第一行\r\n", text);
  DWORD start = 0, end = 0;
  SendMessageA(Hwnd(kBody), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // Positions count characters here, not bytes.
  EXPECT_EQ(static_cast<DWORD>(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) - 1), start);
  EXPECT_EQ(start, end);
  // The box appended to raises its change event, as typing would.
  TaggedValue onEdit[] = {ControlArg(kEdit, kTagEditBox), Text("!")};
  HelperTable().callCoreCommand(AppendText, 2, onEdit);
  EXPECT_EQ((std::vector<std::string>{"h3"}), EventLog());
}

TEST_F(WindowCommandsTest, ProcessEventsDispatchesWaitingMessagesAndLeavesTheQuitMessage) {
  PostMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  PostQuitMessage(3);
  HelperTable().callCoreCommand(ProcessEvents, 0, nullptr);
  EXPECT_EQ((std::vector<std::string>{"h1"}), EventLog());
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), m.message);
  EXPECT_EQ(3u, m.wParam);
}

struct SeenBox {
  std::string title, text;
  bool ok = false, cancel = false, yes = false, no = false, help = false;
  HWND owner = nullptr;
  bool watchedEnabled = true;  // the state of `watched` while the box is up
};

// Finds the message box, notes what it shows, presses `button`.
std::thread PressWhenShown(const char* title, int button, SeenBox* seen,
                           HWND watched = nullptr) {
  return std::thread([=] {
    for (int i = 0; i < 200; ++i) {
      HWND box = FindWindowA("#32770", title);
      // Found before its controls exist, the box is not shown yet: wait.
      if (box && IsWindowVisible(box) && GetDlgItem(box, button)) {
        char text[256] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seen->title = title;
        seen->text = text;
        seen->ok = GetDlgItem(box, IDOK) != nullptr;
        seen->cancel = GetDlgItem(box, IDCANCEL) != nullptr;
        seen->yes = GetDlgItem(box, IDYES) != nullptr;
        seen->no = GetDlgItem(box, IDNO) != nullptr;
        seen->help = GetDlgItem(box, IDHELP) != nullptr;
        seen->owner = GetWindow(box, GW_OWNER);
        if (watched) seen->watchedEnabled = IsWindowEnabled(watched) != FALSE;
        PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
        return;
      }
      Sleep(50);
    }
  });
}

TEST_F(WindowCommandsTest, ShowMessageUsesTheDefaultTitleAndGivesButtonCodesFromZero) {
  SeenBox seen;
  std::thread watcher = PressWhenShown("信息：", IDOK, &seen);
  TaggedValue args[] = {Text("保存完毕"), MakeInt(0)};
  TaggedValue r = HelperTable().callCoreCommand(ShowMessage, 2, args);
  watcher.join();
  EXPECT_EQ(kTagInt, r.tag);
  EXPECT_EQ(0u, r.lo);
  EXPECT_EQ("保存完毕", seen.text);
  EXPECT_TRUE(seen.ok);
  EXPECT_FALSE(seen.cancel);
  EXPECT_EQ(nullptr, seen.owner);

  SeenBox yesNo;
  watcher = PressWhenShown("问题", IDNO, &yesNo);
  TaggedValue args2[] = {MakeInt(42), MakeInt(MB_YESNO), Text("问题"), ControlArg(0, kTagWindow)};
  r = HelperTable().callCoreCommand(ShowMessage, 4, args2);
  watcher.join();
  EXPECT_EQ(6u, r.lo);
  EXPECT_EQ("42", yesNo.text);
  EXPECT_TRUE(yesNo.yes && yesNo.no);
  EXPECT_EQ(Hwnd(0), yesNo.owner);

  // A truth value and a date-time are shown as their text.
  SeenBox truth, date;
  watcher = PressWhenShown("信息：", IDOK, &truth);
  TaggedValue args3[] = {MakeBool(true), MakeInt(0)};
  HelperTable().callCoreCommand(ShowMessage, 2, args3);
  watcher.join();
  EXPECT_EQ("真", truth.text);
  watcher = PressWhenShown("信息：", IDOK, &date);
  TaggedValue when = MakeDouble(45000.75);
  when.tag = kTagDateTime;
  TaggedValue args4[] = {when, MakeInt(0)};
  HelperTable().callCoreCommand(ShowMessage, 2, args4);
  watcher.join();
  EXPECT_EQ("2023年3月15日18时0分0秒", date.text);
}

// The program's windows are disabled while a task-modal box is up, which
// is what the converter's "choose a folder first" message relies on to keep
// the buttons from being pressed under it.
TEST_F(WindowCommandsTest, ShowMessageIsTaskModalUnlessAskedToBeSystemModal) {
  HWND window = Hwnd(0);
  SeenBox taskModal;
  std::thread watcher = PressWhenShown("信息：", IDOK, &taskModal, window);
  TaggedValue args[] = {Text("请选择保存目录："), MakeInt(0)};
  TaggedValue r = HelperTable().callCoreCommand(ShowMessage, 2, args);
  watcher.join();
  EXPECT_EQ(0u, r.lo);
  EXPECT_EQ("请选择保存目录：", taskModal.text);
  EXPECT_FALSE(taskModal.watchedEnabled);
  EXPECT_TRUE(IsWindowEnabled(window));

  SeenBox systemModal;
  watcher = PressWhenShown("系统", IDOK, &systemModal, window);
  TaggedValue args2[] = {Text("系统级"), MakeInt(MB_SYSTEMMODAL), Text("系统")};
  r = HelperTable().callCoreCommand(ShowMessage, 3, args2);
  watcher.join();
  EXPECT_EQ("系统级", systemModal.text);
  EXPECT_TRUE(systemModal.ok);
  EXPECT_FALSE(systemModal.cancel);
  EXPECT_TRUE(systemModal.watchedEnabled);
}

TEST_F(WindowCommandsTest, AskingForTaskModalAgainDoesNotAddAHelpButton) {
  SeenBox seen;
  std::thread watcher = PressWhenShown("再次", IDOK, &seen, Hwnd(0));
  TaggedValue args[] = {Text("任务级"), MakeInt(MB_TASKMODAL), Text("再次")};
  TaggedValue r = HelperTable().callCoreCommand(ShowMessage, 3, args);
  watcher.join();
  EXPECT_EQ(0u, r.lo);
  EXPECT_TRUE(seen.ok);
  EXPECT_FALSE(seen.help);
  EXPECT_FALSE(seen.watchedEnabled);
}

TEST_F(WindowCommandsTest, ShowMessageTakesAnIntegerAsTheOwnersHandle) {
  HWND window = Hwnd(0);
  SeenBox owned;
  std::thread watcher = PressWhenShown("有主", IDCANCEL, &owned);
  TaggedValue args[] = {Text("取消？"), MakeInt(MB_OKCANCEL), Text("有主"),
                        MakeInt(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)))};
  TaggedValue r = HelperTable().callCoreCommand(ShowMessage, 4, args);
  watcher.join();
  EXPECT_EQ(1u, r.lo);
  EXPECT_EQ(window, owned.owner);
  EXPECT_TRUE(owned.ok && owned.cancel);
}

}  // namespace
}  // namespace qx
