// Cells a spreadsheet application's search by values passes over (hidden
// rows and columns, values shown as nothing) still reach the document: the
// conversion's fast paths must give what the cell-by-cell protocol gives,
// with our server searching as the application does (its /AsApplication
// behaviour), in this process and across processes.
#include <gtest/gtest.h>

#include <windows.h>

#include "ControlsConversion_win.h"
#include "HiddenCellsBook.h"
#include "LocalServerRegistration_win.h"
#include "automation/SheetServer_win.h"

namespace qx::test {
namespace {

constexpr DWORD kBehaveAsApplication = 1;  // the server's ServerBehaviour flag

// A block of the fast path holds whole rows, at most 65,536 cells: on a
// sheet seven columns wide, 9,362 rows.
constexpr int32_t kBlockRows = 65536 / 7;

struct Case {
  const char* name;
  HiddenCellsBook book;
  bool small;  // cheap enough to read cell by cell across processes
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    // Hidden rows, then a hidden column, before the first value shown.
    HiddenCellsBook b;
    b.HiddenRowsWithValues(1, 3, 2, "隐藏行");
    b.values.push_back({4, 3, "第一个可见的值"});
    b.hiddenColumns.push_back({1, 1});
    b.values.push_back({5, 1, "隐藏列"});
    b.values.push_back({5, 2, "可见"});
    b.values.push_back({7, 7, "末"});
    cases.push_back({"hidden before the first value shown", b, true});
  }
  {
    // Hidden rows on both sides of the first block's last row.
    HiddenCellsBook b;
    b.values.push_back({1, 1, "起"});
    b.HiddenRowsWithValues(kBlockRows - 2, kBlockRows + 3, 1, "边界");
    b.values.push_back({kBlockRows - 1, 7, "边界右"});
    b.values.push_back({kBlockRows + 1, 7, "边界右"});
    b.values.push_back({kBlockRows + 8, 2, "之后"});
    b.values.push_back({kBlockRows + 8, 7, "末"});
    cases.push_back({"hidden across a block boundary", b, false});
  }
  {
    // After a block of empty rows: hidden rows, a value shown as nothing
    // left of one shown, a hidden column left of a value shown.
    HiddenCellsBook b;
    b.values.push_back({1, 1, "起"});
    const int32_t gap = 2 * kBlockRows + 100;
    b.HiddenRowsWithValues(gap, gap + 2, 3, "块间隐藏");
    b.values.push_back({gap + 10, 2, "42", true});
    b.values.push_back({gap + 10, 3, "可见"});
    b.hiddenColumns.push_back({4, 4});
    b.values.push_back({gap + 20, 4, "隐藏列"});
    b.values.push_back({gap + 20, 5, "可见"});
    b.values.push_back({gap + 21, 7, "末"});
    cases.push_back({"hidden between blocks", b, false});
  }
  {
    // Nothing at all is shown.
    HiddenCellsBook b;
    b.HiddenRowsWithValues(1, 6, 1, "全隐藏");
    b.values.push_back({3, 5, "7", true});
    b.hiddenColumns.push_back({1, 7});
    b.values.push_back({6, 7, "末"});
    cases.push_back({"every cell hidden", b, true});
  }
  {
    // Only values shown as nothing, one a block of empty rows away.
    HiddenCellsBook b;
    b.values.push_back({1, 1, "1", true});
    b.values.push_back({2 * kBlockRows + 50, 3, "-2", true});
    b.values.push_back({2 * kBlockRows + 50, 7, "0", true});
    cases.push_back({"values shown as nothing", b, false});
  }
  return cases;
}

class HiddenCellsTest : public SpreadsheetWindow {
 protected:
  void SetUp() override {
    SpreadsheetWindow::SetUp();
    SetBehaviour(kBehaveAsApplication);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "qx-hidden-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    SetBehaviour(0);
    for (const std::string& f : files) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder.c_str());
    SpreadsheetWindow::TearDown();
  }
  // The DLL beside this program is the one the controls load.
  static void SetBehaviour(DWORD flags) {
    HMODULE dll = LoadLibraryW((ProgramFolder() + kSheetServerDll).c_str());
    ASSERT_NE(dll, nullptr);
    using Set = void(STDAPICALLTYPE*)(DWORD);
    auto set = reinterpret_cast<Set>(reinterpret_cast<void*>(GetProcAddress(dll, "QxSheetsSetBehaviour")));
    ASSERT_NE(set, nullptr);
    set(flags);
  }
  std::string Write(const Case& c) {
    std::string path = folder + "\\case" + std::to_string(files.size()) + ".xlsx";
    EXPECT_TRUE(c.book.WriteTo(path));
    files.push_back(path);
    return path;
  }
  // The headless converter reads every cell: the document each way must be
  // that one.
  void ExpectNoCellLost(bool acrossProcesses) {
    for (const Case& c : Cases()) {
      SCOPED_TRACE(c.name);
      std::string path = Write(c);
      std::string expected = ConvertByReader(path);
      ASSERT_NE(expected, "");
      std::string fast, slow;
      ASSERT_TRUE(ConvertThroughControls(path, true, &fast));
      EXPECT_TRUE(SameDocument(fast, expected)) << "read in blocks, searching for stored cells";
      if (acrossProcesses && !c.small) continue;
      ASSERT_TRUE(ConvertThroughControls(path, false, &slow));
      EXPECT_TRUE(SameDocument(slow, expected)) << "read cell by cell";
    }
  }

  std::string folder;
  std::vector<std::string> files;
};

TEST_F(HiddenCellsTest, NoCellIsLostInProcess) { ExpectNoCellLost(false); }

TEST_F(HiddenCellsTest, NoCellIsLostAcrossProcesses) {
  LocalServerRegistration registration(L"/AsApplication");
  ASSERT_TRUE(registration.ok());
  ExpectNoCellLost(true);
}

}  // namespace
}  // namespace qx::test
