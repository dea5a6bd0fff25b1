// The life of a program on our runtime, each in a child process that the
// test watches: start from the program header, the message loop, the end
// by closing, by EndProgram, by a runtime error and from another thread,
// with the teardown's order seen on the child's stderr.
#include "WindowTestSupport.h"

#include <direct.h>

#include "TestSupport.h"
#include "runtime/HelperTable.h"
#include "runtime/RuntimeError.h"
#include "ui/EditBoxKind.h"
#include "ui/Properties.h"
#include "runtime/RuntimeService.h"
#include "ui/WindowCommands.h"

#include <thread>

namespace qx {
namespace {

using namespace test;

// Set by a test that follows the hidden owner and OLE through the teardown.
bool g_watchTeardown = false;
// Set by a test that looks for the visual style's hook after the teardown.
bool g_watchStyle = false;
HWND g_owner = nullptr;

intptr_t ToolNotify(int32_t code, intptr_t, intptr_t) {
  fprintf(stderr, "[tools %d]\n", static_cast<int>(code));
  if (g_watchTeardown && code == 6)
    fprintf(stderr, "[owner %s at 6]\n", IsWindow(g_owner) ? "alive" : "gone");
  return 0;
}
const LibraryRecord kToolLibrary = {"tools", nullptr, ToolNotify};

void ExitRoutine() {
  fprintf(stderr, "[exit routine%s]\n",
          GetCurrentThreadId() == GetWindowThreadProcessId(HiddenOwner(), nullptr) ? " on main" : "");
}

std::string g_block;
const LibraryRecord* g_libraries[2];
ProgramHeader g_header;
uint32_t g_startWindow = kTestWindow;

int EntryRoutine() {
  const RuntimeHelperTable& h = HelperTable();
  h.callInternalService(kInitialiseRuntime, 0, 0, 0, 0);
  h.callInternalService(kRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutine), 0, 0, 0);
  h.callInternalService(kRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutine), 0, 0, 0);
  h.loadStartupWindow(g_startWindow);
  h.runMessageLoop();
  return 0;
}

// Runs the program; `onCreated` is the window-created handler's job.
[[noreturn]] void RunProgram(Job onCreated, const std::string* block = nullptr) {
  SetRuntimeErrorHandler(TellingHandler);
  g_block = block ? *block : WriteDescription({SmallWindow()});
  g_libraries[0] = CoreLibrary();
  g_libraries[1] = &kToolLibrary;
  g_header = {3, 0, 0x000100DD, CodeTable(), nullptr, 0, g_block.data(),
              static_cast<uint32_t>(g_block.size()), 2, g_libraries, 0, nullptr, nullptr};
  JobOf(0) = onCreated;
  _chdir("C:\\");
  int code = StartApplication(&g_header, EntryRoutine);
  if (g_watchTeardown) {
    // A second OleInitialize answers S_FALSE while the first still holds.
    HRESULT ole = OleInitialize(nullptr);
    fprintf(stderr, "[owner %s, ole %s]\n", IsWindow(g_owner) ? "alive" : "gone",
            ole == S_OK ? "released" : "held");
  }
  if (g_watchStyle) fprintf(stderr, "[style hook %s]\n", RemoveVisualStyle() ? "left" : "gone");
  fprintf(stderr, "[exit %d]\n", code);
  fflush(stderr);
  ExitProcess(code);
}

void CloseTheWindow(TaggedValue*, int32_t, const uintptr_t*) {
  PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
}

TEST(ProcessLifeDeathTest, ClosingTheLastWindowEndsTheLoopAndTheProgramWithZero) {
  EXPECT_EXIT(RunProgram(CloseTheWindow), ::testing::ExitedWithCode(0),
              "^\\[tools 1\\]\n\\[exit routine on main\\]\n\\[tools 6\\]\n\\[exit 0\\]\n$");
}

// The converter's window-destroyed handler still reaches its controls and
// dispatches waiting messages; the exit routine comes after it, and the
// hidden owner and OLE go only after the libraries have been told.
TEST(ProcessLifeDeathTest, TheDestroyedHandlerRunsBeforeTheTeardownWhichEndsWithOwnerAndOle) {
  EXPECT_EXIT(
      {
        g_watchTeardown = true;
        JobOf(2) = [](TaggedValue*, int32_t, const uintptr_t*) {
          PostMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
          RuntimeService(kRequestProcessMessages, 0, 0);
          fprintf(stderr, "[destroyed: edit box %s]\n", Hwnd(kEdit) ? "there" : "gone");
        };
        JobOf(1) = [](TaggedValue*, int32_t, const uintptr_t*) { fprintf(stderr, "[click]\n"); };
        RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
          g_owner = HiddenOwner();
          PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
        });
      },
      ::testing::ExitedWithCode(0),
      "^\\[tools 1\\]\n\\[click\\]\n\\[destroyed: edit box there\\]\n\\[exit routine on main\\]\n"
      "\\[tools 6\\]\n\\[owner alive at 6\\]\n\\[owner gone, ole released\\]\n\\[exit 0\\]\n$");
}

TEST(ProcessLifeDeathTest, EndProgramRunsTheTeardownAndEndsWithItsCode) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) { HelperTable().endProgram(5); }),
              ::testing::ExitedWithCode(5),
              "^\\[tools 1\\]\n\\[exit routine on main\\]\n\\[tools 6\\]\n$");
}

TEST(ProcessLifeDeathTest, EndingFromAnotherThreadIsDoneByTheMainThread) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
                std::thread([] { EndProgram(7); }).detach();
              }),
              ::testing::ExitedWithCode(7),
              "^\\[tools 1\\]\n\\[exit routine on main\\]\n\\[tools 6\\]\n$");
}

TEST(ProcessLifeDeathTest, WithTheHiddenOwnerGoneAnotherThreadEndsTheProcessWithoutTheTeardown) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
                DestroyWindow(HiddenOwner());
                std::thread([] { EndProgram(9); }).join();
              }),
              ::testing::ExitedWithCode(9), "^\\[tools 1\\]\n$");
}

TEST(ProcessLifeDeathTest, ARuntimeErrorInAHandlerSkipsTheExitRoutinesButNotTheTeardown) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
                GetUnitProperty(0x52019999, 0, kPropertyLeft, -1);
              }),
              ::testing::ExitedWithCode(-1),
              "^\\[tools 1\\]\n\\[reported code=0 msg=" + Hex("未载入欲访问窗口组件所在的窗口") +
                  "\\]\n\\[tools 6\\]\n$");
}

TEST(ProcessLifeDeathTest, AMissingStartupWindowIsARuntimeError) {
  EXPECT_EXIT(
      {
        g_startWindow = 0x52010077;
        RunProgram(nullptr);
      },
      ::testing::ExitedWithCode(-1),
      "\\[reported code=0 msg=" + Hex("载入启动窗口失败") + "\\]\n\\[tools 6\\]\n$");
}

TEST(ProcessLifeDeathTest, AMalformedDescriptionIsARuntimeError) {
  std::string cut = WriteDescription({SmallWindow()});
  cut.resize(cut.size() - 1);
  EXPECT_EXIT(RunProgram(nullptr, &cut), ::testing::ExitedWithCode(-1),
              "\\[reported code=0 msg=" + Hex("载入窗口模板数据段出错!") + "\\]\n");
}

TEST(ProcessLifeDeathTest, NoWindowLeftWhenTheLoopWouldStartEndsNormally) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) { DestroyWindow(Hwnd(0)); }),
              ::testing::ExitedWithCode(0), "\\[exit routine on main\\]\n\\[tools 6\\]\n\\[exit 0\\]\n$");
}

// The libraries' requests 2003 and 2004 answer the same folder, without
// its backslash, and the program's file name.
TEST(ProcessLifeDeathTest, TheCurrentDirectoryIsTheProgramsFolder) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
                char cwd[MAX_PATH], exe[MAX_PATH];
                GetCurrentDirectoryA(MAX_PATH, cwd);
                GetModuleFileNameA(nullptr, exe, MAX_PATH);
                char* slash = strrchr(exe, '\\');
                *slash = 0;
                auto* folder =
                    reinterpret_cast<const char*>(RuntimeService(kRequestProgramFolder, 0, 0));
                auto* name =
                    reinterpret_cast<const char*>(RuntimeService(kRequestProgramName, 0, 0));
                fprintf(stderr, "[folder %s, request folder %s, name %s]\n",
                        lstrcmpiA(cwd, exe) == 0 ? "same" : cwd,
                        lstrcmpiA(folder, exe) == 0 ? "same" : folder,
                        lstrcmpiA(name, slash + 1) == 0 ? "same" : name);
                PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
              }),
              ::testing::ExitedWithCode(0),
              "\\[folder same, request folder same, name same\\]\n");
}

// Idle callbacks: the last registered runs first, one per window, and a
// callback whose window has gone is dropped.
HWND g_extra = nullptr;
void MainIdle(intptr_t argument) {
  static int calls = 0;
  if (++calls > 3) return;
  fprintf(stderr, "[idle main %d]\n", static_cast<int>(argument));
  if (calls == 3) PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
}
void ExtraIdle(intptr_t argument) {
  fprintf(stderr, "[idle extra %d]\n", static_cast<int>(argument));
  DestroyWindow(g_extra);
}

TEST(ProcessLifeDeathTest, IdleCallbacksRunLastFirstWhileTheirWindowLives) {
  EXPECT_EXIT(RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
                g_extra = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
                bool first = AddIdleCallback(Hwnd(0), MainIdle, 1);
                bool again = AddIdleCallback(Hwnd(0), MainIdle, 2);
                bool extra = AddIdleCallback(g_extra, ExtraIdle, 3);
                fprintf(stderr, "[added %d %d %d]\n", first, again, extra);
              }),
              ::testing::ExitedWithCode(0),
              "\\[added 1 0 1\\]\n\\[idle extra 3\\]\n\\[idle main 1\\]\n\\[idle main 1\\]\n"
              "\\[idle main 1\\]\n\\[exit routine on main\\]\n");
}

// The runtime's remaining objects go at the teardown: the visual style's
// hook on the thread is removed.
TEST(ProcessLifeDeathTest, TheTeardownRemovesTheVisualStylesHook) {
  EXPECT_EXIT(
      {
        g_watchStyle = true;
        RunProgram([](TaggedValue*, int32_t, const uintptr_t*) {
          TaggedValue scheme = MakeInt(3);
          HelperTable().callCoreCommand(ApplyVisualStyle, 1, &scheme);
          PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
        });
      },
      ::testing::ExitedWithCode(0), "\\[tools 6\\]\n\\[style hook gone\\]\n\\[exit 0\\]\n$");
}

TEST(ProcessLifeDeathTest, IdleTimeGoesToAWindowWhileItsHandlerAsksForMore) {
  WindowTemplate w = SmallWindow();
  w.records[0].bindings.push_back(Bind(7, 11));
  std::string block = WriteDescription({w});
  EXPECT_EXIT(
      {
        JobOf(11) = [](TaggedValue* r, int32_t n, const uintptr_t*) {
          static int calls = 0;
          fprintf(stderr, "[idle %d with %d]\n", ++calls, static_cast<int>(n));
          // More idle time twice, then none, then the window goes.
          *r = MakeInt(calls < 3 ? 1 : 0);
          if (calls == 3) PostMessageA(Hwnd(0), WM_CLOSE, 0, 0);
        };
        RunProgram(nullptr, &block);
      },
      ::testing::ExitedWithCode(0),
      "\\[idle 1 with 1\\]\n\\[idle 2 with 1\\]\n\\[idle 3 with 1\\]\n\\[exit routine");
}

// The property and event errors, each ending the program with -1.
[[noreturn]] void InLoadedWindow(void (*fault)()) {
  SetRuntimeErrorHandler(TellingHandler);
  StartRuntime({SmallWindow()});
  WindowTemplate second = SmallWindow();
  LoadWindow(FindWindowTemplate(kTestWindow), false, false, nullptr);
  fault();
  fprintf(stderr, "[survived]\n");
  ExitProcess(0);
}

std::string Reported(const char* message) {
  return "^\\[reported code=0 msg=" + Hex(message) + "\\]\n$";
}

TEST(WindowErrorsDeathTest, EachFailureReportsItsMessage) {
  EXPECT_EXIT(InLoadedWindow([] { GetUnitProperty(0x52010055, kEdit, kEditBoxContent, -1); }),
              ::testing::ExitedWithCode(-1), Reported("未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(InLoadedWindow([] { SetUnitProperty(kTestWindow, 0x16017777, kPropertyLeft, -1, 1, 0); }),
              ::testing::ExitedWithCode(-1), Reported("未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(InLoadedWindow([] {
                DestroyWindow(Hwnd(0));
                GetUnitProperty(kTestWindow, kEdit, kEditBoxContent, -1);
              }),
              ::testing::ExitedWithCode(-1), Reported("指定窗口尚未载入"));
  EXPECT_EXIT(InLoadedWindow([] { RaiseSimpleEvent(0x52010055, 0, 0); }),
              ::testing::ExitedWithCode(-1), Reported("未找到引发事件的窗口"));
  EXPECT_EXIT(InLoadedWindow([] { RaiseSimpleEvent(kTestWindow, 0x16017777, 0); }),
              ::testing::ExitedWithCode(-1), Reported("未找到引发事件的窗口组件"));
  EXPECT_EXIT(InLoadedWindow([] {
                FindUnitRecord(*FindWindowTemplate(kTestWindow), kLabel)->typeTag = kTagDropTarget;
                RaiseSimpleEvent(kTestWindow, kLabel, 0);
              }),
              ::testing::ExitedWithCode(-1), Reported("引发事件的窗口组件无效"));
  EXPECT_EXIT(InLoadedWindow([] {
                RuntimeService(kRequestRequireLiveUnit, kTestWindow, 0x16017777);
              }),
              ::testing::ExitedWithCode(-1), Reported("指定窗口或窗口组件不存在或尚未载入"));
}

TEST(WindowErrorsDeathTest, WithEventsSuppressedNoLookupIsMadeAndNothingIsReported) {
  EXPECT_EXIT(InLoadedWindow([] {
                RuntimeService(kRequestSuspendEvents, 0, 0);
                RaiseSimpleEvent(0x52010055, 0, 0);
              }),
              ::testing::ExitedWithCode(0), "^\\[survived\\]\n$");
}

}  // namespace
}  // namespace qx
