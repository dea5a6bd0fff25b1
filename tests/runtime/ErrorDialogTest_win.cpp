// The real error dialog under Windows: a message box with no owner, title
// "错误", the composed text, one OK button; closing it ends the program
// with -1. The child shows it; this process finds it, reads it, clicks OK.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"

namespace qx {
namespace {

struct SeenDialog {
  std::string text;
  bool hasOk = false;
  bool hasCancel = false;
  bool hasOwner = true;
};

SeenDialog CloseErrorDialogWhenItAppears(std::atomic<bool>* stop) {
  SeenDialog seen;
  while (!*stop) {
    HWND box = FindWindowA("#32770", "错误");
    if (box) {
      char text[1024] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      seen.text = text;
      seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
      seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
      seen.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
      PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      break;
    }
    Sleep(50);
  }
  return seen;
}

TEST(ErrorDialogDeathTest, ShowsTheComposedTextAndEndsWithMinusOneWhenClosed) {
  std::atomic<bool> stop{false};
  SeenDialog seen;
  std::thread watcher([&] { seen = CloseErrorDialogWhenItAppears(&stop); });
  EXPECT_EXIT(
      {
        RegisterExitRoutine([] { fprintf(stderr, "[exit routine ran]\n"); });
        ReportRuntimeErrorCode(4);
      },
      ::testing::ExitedWithCode(-1), "^$");
  stop = true;
  watcher.join();
  // The static control shows the text without its trailing line break.
  std::string expected = ComposeRuntimeErrorText(RuntimeErrorMessage(4), 4);
  while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r'))
    expected.pop_back();
  std::string got = seen.text;
  while (!got.empty() && (got.back() == '\n' || got.back() == '\r')) got.pop_back();
  EXPECT_EQ(expected, got);
  EXPECT_TRUE(seen.hasOk);
  EXPECT_FALSE(seen.hasOwner);
}

}  // namespace
}  // namespace qx
