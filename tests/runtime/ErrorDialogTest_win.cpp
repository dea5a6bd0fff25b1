// The real error dialog under Windows: a message box with no owner, title
// "错误", the composed text, one OK button; closing it ends the program
// with -1. Inside the dying child a watcher thread finds the box, reports
// what it shows on stderr and clicks OK; the parent checks the report and
// the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"

namespace qx {
namespace {

void ReportAndCloseErrorDialog() {
  for (int i = 0; i < 400; ++i) {
    HWND box = FindWindowA("#32770", "错误");
    // Found before its controls exist, the box is not shown yet: wait.
    if (box && IsWindowVisible(box) && GetDlgItem(box, IDOK)) {
      char text[1024] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      std::string shown = text;
      while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
      fprintf(stderr, "[box text=%s ok=%d cancel=%d owner=%d]\n", test::Hex(shown.c_str()).c_str(),
              GetDlgItem(box, IDOK) != nullptr, GetDlgItem(box, IDCANCEL) != nullptr,
              GetWindow(box, GW_OWNER) != nullptr);
      fflush(stderr);
      PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      return;
    }
    Sleep(25);
  }
}

TEST(ErrorDialogDeathTest, ShowsTheComposedTextAndEndsWithMinusOneWhenClosed) {
  // The static control shows the text without its trailing line break.
  std::string expected = ComposeRuntimeErrorText(RuntimeErrorMessage(4), 4);
  while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r'))
    expected.pop_back();
  EXPECT_EXIT(
      {
        std::thread(ReportAndCloseErrorDialog).detach();
        RegisterExitRoutine([] { fprintf(stderr, "[exit routine ran]\n"); });
        ReportRuntimeErrorCode(4);
      },
      ::testing::ExitedWithCode(-1),
      "^\\[box text=" + test::Hex(expected.c_str()) + " ok=1 cancel=0 owner=0\\]\n$");
}

}  // namespace
}  // namespace qx
