// The application's questions before a workbook is closed or saved, asked
// by our server of the handlers bound to the application control: what a
// handler sees of them, and its answer going back to the server.
#include <gtest/gtest.h>

#include "LocalServerRegistration_win.h"
#include "SpreadsheetWindow_win.h"
#include "automation/ApplicationEventSink_win.h"
#include "automation/ComHolders_win.h"
#include "automation/DispatchCall_win.h"
#include "automation/ObjectBlock.h"
#include "automation/SpreadsheetModel.h"

namespace qx::test {
namespace {

constexpr int32_t kBeforeClose = 3, kBeforeSave = 4;

// What the last handler saw: the workbook's name, the logical given by
// value (-1: none), the settable one as it arrived. `answer` is what the
// handler sets it to.
struct Seen {
  int runs = 0;
  std::string book;
  int32_t byValue = -1;
  int32_t settable = -1;
};
Seen g_seen;
int32_t g_answer = 0;

std::string BookName(uintptr_t word) {
  auto* block = reinterpret_cast<const ObjectBlock*>(word);
  ComRef<IDispatch> book;
  if (!block || !block->iface ||
      FAILED(static_cast<IUnknown*>(block->iface)
                 ->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(book.put()))))
    return "";
  VariantHolder name;
  DispatchGet(book.get(), model::kName, name.put());
  return VariantToAnsi(*name);
}

void Answer(uintptr_t word) {
  auto* flag = reinterpret_cast<int32_t*>(word);
  g_seen.settable = *flag;
  *flag = g_answer;
}

void OnBeforeClose(TaggedValue*, int32_t count, const uintptr_t* words) {
  ++g_seen.runs;
  ASSERT_EQ(count, 2);
  g_seen.book = BookName(words[0]);
  Answer(words[1]);
}

void OnBeforeSave(TaggedValue*, int32_t count, const uintptr_t* words) {
  ++g_seen.runs;
  ASSERT_EQ(count, 3);
  g_seen.book = BookName(words[0]);
  g_seen.byValue = static_cast<int32_t>(words[1]);
  Answer(words[2]);
}

const EventHandlerFn kHandlers[2] = {OnBeforeClose, OnBeforeSave};

class ApplicationEventsTest : public SpreadsheetWindow {
 protected:
  ApplicationEventsTest() {
    boundEvents_ = {kBeforeClose, kBeforeSave};
    code_ = kHandlers;
  }
  void SetUp() override {
    SpreadsheetWindow::SetUp();
    g_seen = {};
    g_answer = 0;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Attach());
    IDispatch* app = HeldApplication(FindLiveUnit(kWindow, kApp));
    ASSERT_NE(app, nullptr);
    workbooks_.Reset(DispatchGetObject(app, model::kWorkbooks));
    ASSERT_TRUE(workbooks_);
  }
  void TearDown() override {
    workbooks_.Reset();
    SpreadsheetWindow::TearDown();
  }

  int32_t OpenBooks() {
    VariantHolder n;
    DispatchGet(workbooks_.get(), model::kCount, n.put());
    return VariantToInt(*n);
  }
  ComRef<IDispatch> Book(int32_t index) {
    Arguments<1> at{IntArgument(index)};
    return ComRef<IDispatch>(DispatchGetObject(workbooks_.get(), model::kItem, at.data(), 1));
  }

  // The blank workbook of AttachApplication and a file, closed by
  // CloseAllWorkbooks as the converter's reset closes them: each is asked
  // about in turn.
  void ExpectCancelCloseKeepsTheWorkbooks() {
    ASSERT_TRUE(Open(QX_SOURCE_DIR "/samples/题库示例.xlsx"));
    ASSERT_EQ(OpenBooks(), 2);
    g_answer = 1;
    Run(CloseAllWorkbooks, kBooks, kTagExcelWorkbooks);
    EXPECT_EQ(g_seen.runs, 2);
    EXPECT_EQ(g_seen.book, "题库示例.xlsx");
    EXPECT_EQ(g_seen.settable, 0) << "取消关闭 starts false";
    EXPECT_EQ(OpenBooks(), 2) << "the handler's answer did not reach the server";

    g_answer = 0;
    Run(CloseAllWorkbooks, kBooks, kTagExcelWorkbooks);
    EXPECT_EQ(g_seen.runs, 4);
    EXPECT_EQ(OpenBooks(), 0);
  }

  ComRef<IDispatch> workbooks_;
};

TEST_F(ApplicationEventsTest, SettingCancelCloseKeepsTheWorkbookOpen) {
  ExpectCancelCloseKeepsTheWorkbooks();
}

// The same with the server in a process of its own: the answer goes back
// through the by-reference argument of a call between processes.
class ApplicationEventsAcrossProcesses : public ApplicationEventsTest {
 protected:
  // Both before SetUp starts the application.
  test::LocalServerRegistration registration_;
  int running_ = test::CountProcesses(L"qxsheets-app.exe");
};

TEST_F(ApplicationEventsAcrossProcesses, SettingCancelCloseKeepsTheWorkbookOpen) {
  ASSERT_TRUE(registration_.ok());
  ASSERT_EQ(test::CountProcesses(L"qxsheets-app.exe"), running_ + 1) << "no server process";
  ExpectCancelCloseKeepsTheWorkbooks();
}

TEST_F(ApplicationEventsTest, SaveAsTellsANewWorkbookAndCancelStopsTheSave) {
  ASSERT_TRUE(Open(QX_SOURCE_DIR "/samples/题库示例.xlsx"));
  ComRef<IDispatch> blank = Book(1), opened = Book(2);
  ASSERT_TRUE(blank && opened);
  // Not cancelled, the save goes on and fails: our server writes no file.
  EXPECT_FALSE(DispatchCallMethod(opened.get(), model::kSave));
  EXPECT_EQ(g_seen.runs, 1);
  EXPECT_EQ(g_seen.book, "题库示例.xlsx");
  EXPECT_EQ(g_seen.byValue, 0) << "a workbook from a file is saved under its name";
  EXPECT_EQ(g_seen.settable, 0) << "取消 starts false";
  g_answer = 1;
  EXPECT_TRUE(DispatchCallMethod(opened.get(), model::kSave)) << "the handler cancelled it";

  EXPECT_TRUE(DispatchCallMethod(blank.get(), model::kSave));
  EXPECT_EQ(g_seen.book, "Book1");
  EXPECT_EQ(g_seen.byValue, 1) << "a new workbook needs a name: 另存为";
  EXPECT_EQ(g_seen.runs, 3);
}

}  // namespace
}  // namespace qx::test
