// The converter's worksheet source over the two controls and our own
// spreadsheet server: the document must be the one the headless converter
// makes from the same file, whichever way the cells are read.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsConversion_win.h"

namespace qx::test {
namespace {

class AutomationWorksheetTest : public SpreadsheetWindow {
 protected:
  // The application being our server beside this test program.
  static bool Convert(const std::string& path, bool fast, std::string* text,
                      app::OpenSheetFailure* error = nullptr) {
    return ConvertThroughControls(path, fast, text, error);
  }
  static std::string ByReader(const std::string& path) { return ConvertByReader(path); }
};

// Source-tree paths are ASCII; the GBK names of the samples are spelled out.
std::string Source(const char* relative) { return std::string(QX_SOURCE_DIR) + "/" + relative; }

TEST_F(AutomationWorksheetTest, EveryWorkbookGivesTheHeadlessConvertersDocument) {
  const std::string files[] = {
      Source("samples/题库示例.xlsx"),          Source("samples/题库示例.xls"),
      Source("samples/题库示例.ods"),           Source("samples/题库示例.csv"),
      Source("tests/reader/data/types.xlsx"),    Source("tests/reader/data/types-lo.xlsx"),
      Source("tests/reader/data/types-gnm.xlsx"), Source("tests/reader/data/types-lo.ods"),
      Source("tests/reader/data/types-gnm.ods"), Source("tests/reader/data/date1904.xlsx"),
      Source("tests/reader_xls/data/xlwt_basic.xls"),
      Source("tests/reader_xls/data/gnumeric_dual.xls"),
      Source("tests/reader_xls/data/gnumeric_formulas.xls"),
      Source("tests/reader_xls/data/gnumeric_csv.xls"),
      Source("tests/reader_xls/data/questions.csv"),
  };
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    std::string expected = ByReader(f);
    EXPECT_NE(expected, "");
    std::string fast, slow;
    ASSERT_TRUE(Convert(f, true, &fast));
    ASSERT_TRUE(Convert(f, false, &slow));
    EXPECT_EQ(fast, expected) << "read in blocks, searching for stored cells";
    EXPECT_EQ(slow, expected) << "read cell by cell through the controls";
  }
}

TEST_F(AutomationWorksheetTest, AFileThatCannotBeOpenedIsReportedAndConvertsNothing) {
  std::string text;
  app::OpenSheetFailure error;
  EXPECT_FALSE(Convert(Source("tests/reader/data/没有这个文件.xlsx"), true, &text, &error));
  EXPECT_EQ(text, "");
  EXPECT_EQ(error.file.code, reader::OpenFailureCode::kNotFound) << "the server's reason reaches the caller";
  EXPECT_FALSE(Convert("", true, &text, &error));
  EXPECT_EQ(text, "");
}

TEST_F(AutomationWorksheetTest, ConvertingTwiceStartsTheApplicationAfresh) {
  std::string first, second;
  ASSERT_TRUE(Convert(Source("samples/题库示例.xlsx"), true, &first));
  ASSERT_TRUE(Convert(Source("samples/题库示例.xlsx"), true, &second));
  EXPECT_EQ(first, second);
  EXPECT_EQ(GetWord(kApp, 22), 1) << "the controls keep the application until a reset";
}

// Our server's events reach handlers bound to the application control, and
// the end of the window leaves none of the server's objects alive.
TEST_F(AutomationWorksheetTest, EventsReachBoundHandlersAndTheEndReleasesEveryServerObject) {
  using LiveFn = LONG(__stdcall*)();
  HMODULE server = nullptr;
  std::string text;
  ASSERT_TRUE(Convert(Source("samples/题库示例.xlsx"), true, &text));
  server = GetModuleHandleW(L"qxsheets.dll");
  ASSERT_NE(server, nullptr) << "the server beside the program stood in";
  auto live = reinterpret_cast<LiveFn>(
      reinterpret_cast<void*>(GetProcAddress(server, "QxSheetsLiveObjects")));
  ASSERT_NE(live, nullptr);
  const std::vector<std::string> opened = {"0:workbook", "1:workbook"};
  EXPECT_TRUE(std::search(AppEvents().begin(), AppEvents().end(), opened.begin(),
                          opened.end()) != AppEvents().end())
      << "the opened workbook raised 工作簿打开 and 工作簿激活";
  EXPECT_GT(live(), 0);
  DestroyWindow(static_cast<HWND>(LiveUnit(FindWindowTemplate(kWindow)->records[0])->hwnd));
  EXPECT_EQ(live(), 0) << "every reference went with the controls";
}

}  // namespace
}  // namespace qx::test
