// The two spreadsheet controls with the application in a process of its
// own (our local server registered as "Excel.Application"): the events
// reach bound handlers across processes, letting go of every reference
// ends the process, and so does QuitApplication on its own.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsConversion_win.h"
#include "LocalServerRegistration_win.h"

namespace qx::test {
namespace {

constexpr wchar_t kServer[] = L"qxsheets-app.exe";

class ControlsAcrossProcesses : public SpreadsheetWindow {
 protected:
  void SetUp() override {
    SpreadsheetWindow::SetUp();
    running = CountProcesses(kServer);
  }
  std::string Sample() const { return std::string(QX_SOURCE_DIR) + "/samples/题库示例.xlsx"; }
  int running = 0;
};

TEST_F(ControlsAcrossProcesses, EventsCrossAndLettingGoOfEverythingEndsTheProcess) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  std::string text;
  ASSERT_TRUE(ConvertThroughControls(Sample(), true, &text));
  EXPECT_EQ(text, ConvertByReader(Sample()));
  EXPECT_EQ(CountProcesses(kServer), running + 1);
  EXPECT_EQ(GetModuleHandleW(L"qxsheets.dll"), nullptr) << "not our DLL in this process";
  const std::vector<std::string> opened = {"0:workbook", "1:workbook"};
  EXPECT_TRUE(std::search(AppEvents().begin(), AppEvents().end(), opened.begin(), opened.end()) !=
              AppEvents().end())
      << "工作簿打开 and 工作簿激活 came back across processes";
  Run(DetachWorkbooks, kBooks, kTagExcelWorkbooks);
  Run(ReleaseApplication, kApp, kTagExcelApp);
  EXPECT_TRUE(WaitForProcessCount(kServer, running, 10000)) << "the last reference ended it";
}

TEST_F(ControlsAcrossProcesses, QuitApplicationOnItsOwnLetsTheProcessEnd) {
  LocalServerRegistration registration;
  ASSERT_TRUE(registration.ok());
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  EXPECT_TRUE(Open(Sample().c_str()));
  EXPECT_EQ(CountProcesses(kServer), running + 1);
  Run(QuitApplication, kApp, kTagExcelApp);
  EXPECT_TRUE(WaitForProcessCount(kServer, running, 10000));
  EXPECT_EQ(GetWord(kApp, 22), 1) << "the control still holds its reference";
  // What the controls hold now leads nowhere, and letting go of it is quick.
  DWORD start = GetTickCount();
  EXPECT_EQ(Cell("A1"), "");
  Run(DetachWorkbooks, kBooks, kTagExcelWorkbooks);
  Run(ReleaseApplication, kApp, kTagExcelApp);
  EXPECT_LT(GetTickCount() - start, 5000u);
}

}  // namespace
}  // namespace qx::test
