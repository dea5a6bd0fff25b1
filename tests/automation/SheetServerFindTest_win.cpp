// Range.Find as a reader of big sheets uses it: "*" for the next cell that
// holds a value, by rows or columns, forwards or back, wrapping round
// inside the range; Nothing when no cell matches.
#include <gtest/gtest.h>

#include "HiddenCellsBook.h"
#include "ServerFixture_win.h"

namespace qx::test {
namespace {

class FindTest : public ServerTest {
 protected:
  // Find on `range` with What, After and the search order and direction;
  // the found cell's address, or "" for Nothing.
  std::wstring Find(IDispatch* range, const wchar_t* what, const wchar_t* after, int order = 1,
                    int direction = 1, int lookAt = 2, bool matchCase = false) {
    Var afterArg = after ? Var(after) : Var::Missing();
    Var mc;
    V_VT(&mc.v) = VT_BOOL;
    V_BOOL(&mc.v) = matchCase ? VARIANT_TRUE : VARIANT_FALSE;
    CallResult r = Call(range, 0x18E, DISPATCH_METHOD,
                        {Var(what), afterArg, Var::Missing(), Var(lookAt), Var(order), Var(direction), mc});
    EXPECT_EQ(r.hr, S_OK) << testing::PrintToString(r.description);
    if (r.hr != S_OK) return L"<failed>";
    EXPECT_EQ(r.value.type(), VT_DISPATCH);
    if (!r.value.obj()) return L"";
    return Get(r.value.obj(), L"Address", {Var(0), Var(0)}).text();
  }
};

TEST_F(FindTest, SparseSheetFindsItsOnlyCellFromAnywhere) {
  Var sheet = AddSheet();
  PutCell(sheet.obj(), L"XFD1048576", Var(L"last"));
  Var all = Get(sheet.obj(), L"Cells");
  EXPECT_EQ(Find(all.obj(), L"*", nullptr), L"XFD1048576");
  EXPECT_EQ(Find(all.obj(), L"*", L"A1"), L"XFD1048576");
  // Starting from the cell itself the search wraps round to it.
  EXPECT_EQ(Find(all.obj(), L"*", L"XFD1048576"), L"XFD1048576");
  EXPECT_EQ(Find(all.obj(), L"*", L"A1", 2), L"XFD1048576");
  EXPECT_EQ(Find(all.obj(), L"*", L"XFD1048576", 1, 2), L"XFD1048576");
  Var used = Get(sheet.obj(), L"UsedRange");
  EXPECT_EQ(Get(used.obj(), L"Address", {Var(0), Var(0)}).text(), L"XFD1048576");
  EXPECT_EQ(Get(used.obj(), L"Value").text(), L"last");
  // A range that does not reach it finds Nothing.
  EXPECT_EQ(Find(Get(sheet.obj(), L"Range", {Var(L"A1:XFC1048576")}).obj(), L"*", nullptr), L"");
}

TEST_F(FindTest, DenseBlockByRowsWrapsToTheStart) {
  Var sheet = AddSheet();
  for (const wchar_t* a : {L"A1", L"B1", L"C1", L"A2", L"B2", L"C2", L"A3", L"B3", L"C3"})
    PutCell(sheet.obj(), a, Var(a));
  Var block = Get(sheet.obj(), L"Range", {Var(L"A1:C3")});
  EXPECT_EQ(Find(block.obj(), L"*", nullptr), L"B1");  // after the top-left cell
  EXPECT_EQ(Find(block.obj(), L"*", L"B2"), L"C2");
  EXPECT_EQ(Find(block.obj(), L"*", L"C2"), L"A3");
  EXPECT_EQ(Find(block.obj(), L"*", L"C3"), L"A1");
  EXPECT_EQ(Find(block.obj(), L"*", L"B2", 2), L"B3");  // by columns
  EXPECT_EQ(Find(block.obj(), L"*", L"C3", 2), L"A1");
  EXPECT_EQ(Find(block.obj(), L"*", L"B2", 1, 2), L"A2");  // backwards
  EXPECT_EQ(Find(block.obj(), L"*", L"A1", 1, 2), L"C3");
  EXPECT_EQ(Find(block.obj(), L"*", L"B2", 2, 2), L"B1");
  // Inside a part of the block only that part counts.
  Var inner = Get(sheet.obj(), L"Range", {Var(L"B2:C3")});
  EXPECT_EQ(Find(inner.obj(), L"*", L"C2"), L"B3");
  EXPECT_EQ(Find(inner.obj(), L"*", L"C3"), L"B2");
  EXPECT_EQ(Find(inner.obj(), L"*", L"B2", 1, 2), L"C3");
}

TEST_F(FindTest, GapsBetweenCellsAreSkipped) {
  Var sheet = AddSheet();
  PutCell(sheet.obj(), L"A1", Var(L"x"));
  PutCell(sheet.obj(), L"Z1", Var(L"outside the columns"));
  PutCell(sheet.obj(), L"C500000", Var(L"y"));
  PutCell(sheet.obj(), L"B1000000", Var(L"z"));
  Var range = Get(sheet.obj(), L"Range", {Var(L"A1:C1048576")});
  EXPECT_EQ(Find(range.obj(), L"*", L"A1"), L"C500000");
  EXPECT_EQ(Find(range.obj(), L"*", L"C500000"), L"B1000000");
  EXPECT_EQ(Find(range.obj(), L"*", L"B1000000"), L"A1");
  EXPECT_EQ(Find(range.obj(), L"*", L"A1", 1, 2), L"B1000000");
  EXPECT_EQ(Find(range.obj(), L"*", L"C500000", 2), L"A1");  // column C is the last
}

TEST_F(FindTest, TextIsMatchedWholeOrInPart) {
  Var sheet = AddSheet();
  PutCell(sheet.obj(), L"A1", Var(L"单选题"));
  PutCell(sheet.obj(), L"A2", Var(L"选择"));
  PutCell(sheet.obj(), L"A3", Var(L"Choice"));
  PutCell(sheet.obj(), L"A4", Var(12.5));
  Var col = Get(sheet.obj(), L"Range", {Var(L"A1:A10")});
  EXPECT_EQ(Find(col.obj(), L"选", L"A1"), L"A2");
  EXPECT_EQ(Find(col.obj(), L"选", L"A2"), L"A1");
  EXPECT_EQ(Find(col.obj(), L"选择", L"A3", 1, 1, 1), L"A2");
  EXPECT_EQ(Find(col.obj(), L"选", L"A3", 1, 1, 1), L"");
  EXPECT_EQ(Find(col.obj(), L"choice", L"A1"), L"A3");
  EXPECT_EQ(Find(col.obj(), L"choice", L"A1", 1, 1, 2, true), L"");
  EXPECT_EQ(Find(col.obj(), L"12.5", L"A1", 1, 1, 1), L"A4");
  EXPECT_EQ(Find(col.obj(), L"?hoi*", L"A1", 1, 1, 1), L"A3");
  EXPECT_EQ(Find(col.obj(), L"nothing", L"A1"), L"");
}

TEST_F(FindTest, EmptySheetAndBadAfter) {
  Var sheet = AddSheet();
  Var all = Get(sheet.obj(), L"Cells");
  EXPECT_EQ(Find(all.obj(), L"*", nullptr), L"");
  Var block = Get(sheet.obj(), L"Range", {Var(L"B2:C3")});
  EXPECT_EQ(Call(block.obj(), 0x18E, DISPATCH_METHOD, {Var(L"*"), Var(L"A1")}).hr, DISP_E_EXCEPTION);
  // After given as a range object, as real clients pass it.
  PutCell(sheet.obj(), L"C3", Var(L"v"));
  Var after = Get(sheet.obj(), L"Range", {Var(L"B2")});
  CallResult r = Call(block.obj(), 0x18E, DISPATCH_METHOD, {Var(L"*"), after});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(Get(r.value.obj(), L"Address").text(), L"$C$3");
}

// With the behaviour switch our server searches as the spreadsheet
// application is reported to: by values (LookIn -4163) it passes over
// cells in hidden rows and columns and cells shown as nothing; by formulas
// (-4123) it finds every cell with content. LookIn left out is the last
// one given. Without the switch every stored cell is found.
TEST_F(FindTest, AsTheApplicationAValuesSearchPassesOverWhatIsNotShown) {
  qx::test::HiddenCellsBook book;
  book.HiddenRowsWithValues(2, 2, 1, "hidden row ");
  book.hiddenColumns.push_back({2, 2});
  book.values.push_back({3, 2, "hidden column"});
  book.values.push_back({4, 1, "5", true});
  book.values.push_back({5, 1, "shown"});
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "qx-find-" + std::to_string(GetCurrentProcessId()) + ".xlsx";
  ASSERT_TRUE(book.WriteTo(path));
  std::wstring wide(path.begin(), path.end());
  auto set = reinterpret_cast<void(STDAPICALLTYPE*)(DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(qx::kSheetServerDll), "QxSheetsSetBehaviour")));
  ASSERT_NE(set, nullptr);
  Var books = Get(app, L"Workbooks");
  Var opened = Method(books.obj(), L"Open", {Var(wide.c_str())});
  Var sheet = Get(Get(opened.obj(), L"Sheets").obj(), L"Item", {Var(1)});
  Var range = Get(sheet.obj(), L"Range", {Var(L"A1:C6")});
  auto find = [&](const wchar_t* after, const Var& lookIn) {
    CallResult r = Call(range.obj(), 0x18E, DISPATCH_METHOD, {Var(L"*"), Var(after), lookIn});
    EXPECT_EQ(r.hr, S_OK) << testing::PrintToString(r.description);
    return r.value.obj() ? Get(r.value.obj(), L"Address", {Var(0), Var(0)}).text() : L"";
  };
  set(1);
  EXPECT_EQ(find(L"C6", Var(-4163)), L"A5") << "A2, B3 and A4 passed over";
  EXPECT_EQ(find(L"A5", Var::Missing()), L"A5") << "LookIn kept: values";
  EXPECT_EQ(find(L"C6", Var(-4123)), L"A2");
  EXPECT_EQ(find(L"A2", Var(-4123)), L"B3");
  EXPECT_EQ(find(L"B3", Var::Missing()), L"A4") << "LookIn kept: formulas";
  EXPECT_EQ(find(L"C6", Var(-4144)), L"") << "no cell has a comment";
  set(0);
  EXPECT_EQ(find(L"C6", Var(-4163)), L"A2");
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace qx::test
