// Windows loaded modally: the others take no input while the run lasts,
// LoadWindow returns only when it ends, runs nest, and a quit message is
// left for the main loop. The handlers that look and act run in the modal
// loop itself, as the idle event of the modal window.
#include "WindowTestSupport.h"

#include "runtime/RuntimeService.h"

namespace qx {
namespace {

using namespace test;

constexpr uint32_t kOuter = 0x52010002, kInner = 0x52010003;
constexpr int kOuterIdle = 10, kInnerIdle = 12;

// A small window whose idle event (7) goes to `idle` and whose end (2) to
// idle + 1.
WindowTemplate ModalWindow(uint32_t id, const char* title, int idle) {
  WindowTemplate w;
  w.id = id;
  w.records.push_back(Record(0x06000000 | (id & 0xFFFFFF), kTagWindow, 50, 50, 240, 160,
                             kUnitVisible, WindowBlock(title), {Bind(7, idle), Bind(2, idle + 1)}));
  w.records.push_back(Record(0x16000000 | (id & 0xFFFFFF), kTagButton, 10, 10, 80, 28,
                             kUnitVisible | kUnitTabStop, ButtonBlock("确定")));
  return w;
}

HWND Window(uint32_t id) { return Hwnd(0, id); }

// A run that never ends would hang the test: the watchdog fails it and
// ends every run.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ADD_FAILURE() << "a modal run did not end";
  for (uint32_t w : {kInner, kOuter})
    if (Window(w)) DestroyWindow(Window(w));
  g_runtime.modalWindow = 0;
}

// How often each window's idle job has run in this test, reset by each
// test so that a repeated run goes as the first did.
int g_outerCalls = 0, g_innerCalls = 0;

void Close(uint32_t id) { PostMessageA(Window(id), WM_CLOSE, 0, 0); }

// Whether the window takes input, as the log's one letter: + or -.
std::string Input(uint32_t id) { return IsWindowEnabled(Window(id)) ? "+" : "-"; }

class ModalWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartWithWindow({SmallWindow(), ModalWindow(kOuter, "外层", kOuterIdle),
                                 ModalWindow(kInner, "内层", kInnerIdle)}));
    Pump();
    EventLog().clear();
    g_outerCalls = g_innerCalls = 0;
    watchdog_ = SetTimer(nullptr, 0, 5000, Watchdog);
  }
  void TearDown() override {
    KillTimer(nullptr, watchdog_);
    StopRuntime();
  }
  UINT_PTR watchdog_ = 0;
  static bool LoadModal(uint32_t id) { return LoadWindow(FindWindowTemplate(id), false, true, nullptr); }
  static void Note(const std::string& s) { EventLog().push_back(s); }
};

TEST_F(ModalWindowTest, TheOtherWindowsTakeNoInputUntilTheModalOneEndsAndOnlyThenTheLoadReturns) {
  JobOf(kOuterIdle) = [](TaggedValue*, int32_t, const uintptr_t*) {
    if (++g_outerCalls > 1) return;
    Note("main" + Input(kTestWindow) + " outer" + Input(kOuter));
    Note(g_runtime.modalWindow == kOuter ? "running" : "not running");
    Close(kOuter);
  };
  EXPECT_TRUE(LoadModal(kOuter));
  EXPECT_EQ((std::vector<std::string>{"h10", "main- outer+", "running", "h11"}), EventLog());
  EXPECT_EQ(nullptr, Window(kOuter));
  EXPECT_TRUE(IsWindowEnabled(Window(kTestWindow)));
  EXPECT_EQ(Window(kTestWindow), GetActiveWindow());
  EXPECT_EQ(0u, g_runtime.modalWindow);
  // The hidden owner was never shown, and is left as it was.
  EXPECT_TRUE(IsWindowEnabled(HiddenOwner()));
}

TEST_F(ModalWindowTest, AModalWindowLoadedFromAModalRunRunsInsideItAndHandsItBack) {
  JobOf(kOuterIdle) = [](TaggedValue*, int32_t, const uintptr_t*) {
    if (++g_outerCalls > 1) return;
    EXPECT_TRUE(LoadModal(kInner));
    Note("back: main" + Input(kTestWindow) + " outer" + Input(kOuter));
    Note(g_runtime.modalWindow == kOuter ? "outer running" : "outer not running");
    Close(kOuter);
  };
  JobOf(kInnerIdle) = [](TaggedValue*, int32_t, const uintptr_t*) {
    if (++g_innerCalls > 1) return;
    Note("inner: main" + Input(kTestWindow) + " outer" + Input(kOuter) + " inner" + Input(kInner));
    Close(kInner);
  };
  EXPECT_TRUE(LoadModal(kOuter));
  // The inner run's idle time goes to every window, the outer one too.
  EXPECT_EQ((std::vector<std::string>{"h10", "h10", "h12", "inner: main- outer- inner+", "h13",
                                      "back: main- outer+", "outer running", "h11"}),
            EventLog());
  EXPECT_TRUE(IsWindowEnabled(Window(kTestWindow)));
  EXPECT_EQ(0u, g_runtime.modalWindow);
}

TEST_F(ModalWindowTest, TheRunEndsWhenTheWindowsEndIsReportedAndAQuitMessageIsLeftWaiting) {
  static HWND outer;
  JobOf(kOuterIdle) = [](TaggedValue*, int32_t, const uintptr_t*) {
    outer = Window(kOuter);
    RuntimeService(kRequestUnitDestroyed, kOuter, 0);
  };
  EXPECT_TRUE(LoadModal(kOuter));
  EXPECT_EQ(0u, g_runtime.modalWindow);
  EXPECT_TRUE(IsWindowEnabled(Window(kTestWindow)));
  DestroyWindow(outer);

  // A quit message ends the modal loop at once, the window still up, and
  // stays in the queue with its code.
  JobOf(kOuterIdle) = [](TaggedValue*, int32_t, const uintptr_t*) { PostQuitMessage(4); };
  EXPECT_TRUE(LoadModal(kOuter));
  EXPECT_NE(nullptr, Window(kOuter));
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(4u, m.wParam);
  EXPECT_FALSE(IsWindowEnabled(Window(kTestWindow)));
  DestroyWindow(Window(kOuter));
  EXPECT_TRUE(IsWindowEnabled(Window(kTestWindow)));
}

TEST_F(ModalWindowTest, LoadingAWindowThatIsInAModalRunEndsItAndLoadsItAnew) {
  static HWND first;
  JobOf(kOuterIdle) = [](TaggedValue*, int32_t, const uintptr_t*) {
    if (++g_outerCalls > 1) return;
    first = Window(kOuter);
    EXPECT_TRUE(LoadWindow(FindWindowTemplate(kOuter), false, false, nullptr));
  };
  EXPECT_TRUE(LoadModal(kOuter));
  EXPECT_EQ((std::vector<std::string>{"h10", "h11"}), EventLog());
  EXPECT_FALSE(IsWindow(first));
  EXPECT_NE(nullptr, Window(kOuter));
  EXPECT_FALSE(FindWindowTemplate(kOuter)->modal);
  EXPECT_TRUE(IsWindowEnabled(Window(kTestWindow)));
}

}  // namespace
}  // namespace qx
