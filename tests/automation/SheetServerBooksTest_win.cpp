// Workbooks opened through the reader, added, closed; the application's
// events reaching an advised sink; every object released in the end.
#include <gtest/gtest.h>

#include <olectl.h>

#include <cstdio>
#include <vector>

#include "EventSink_win.h"
#include "ServerFixture_win.h"

namespace qx::test {
namespace {

class BooksTest : public ServerTest {
 protected:
  void TearDown() override {
    if (point) Unadvise();
    ServerTest::TearDown();
  }
  void Advise() {
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(app->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(kAppEvents, &point), S_OK);
    container->Release();
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(sink.refs, 2u);
  }
  void Unadvise() {
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release();
    point = nullptr;
    EXPECT_EQ(sink.refs, 1u);
  }
  CallResult Open(const std::wstring& path) {
    Var books = Get(app, L"Workbooks");
    return Call(books.obj(), 0x2AA, DISPATCH_METHOD, {Var(path.c_str())});
  }

  EventSink sink;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
};

TEST_F(BooksTest, OpenReadsTheWorkbookAndFiresOpenAndActivate) {
  Advise();
  // A path with Chinese characters, passed as the control passes it.
  CallResult r = Open(SourcePath("samples/题库示例.xlsx"));
  ASSERT_EQ(r.hr, S_OK) << testing::PrintToString(r.description);
  ASSERT_NE(r.value.obj(), nullptr);
  EXPECT_EQ(GetId(r.value.obj(), 0x6E).text(), L"题库示例.xlsx");
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].id, 0x61F);
  EXPECT_EQ(sink.events[0].args, 1u);
  EXPECT_EQ(sink.events[0].book, L"题库示例.xlsx");
  EXPECT_EQ(sink.events[1].id, 0x620);
  // The opened workbook is the active one: the application's Sheets are
  // its sheets, and its first sheet holds the question bank.
  Var sheet = GetId(GetId(app, 0x1E5).obj(), 0xAA, {Var(1)});
  EXPECT_EQ(GetId(sheet.obj(), 0x1E6).number(), 1);
  Var used = Get(sheet.obj(), L"UsedRange");
  EXPECT_GT(Get(Get(used.obj(), L"Rows").obj(), L"Count").number(), 1);
  EXPECT_EQ(GetId(Get(app, L"Workbooks").obj(), 0x76).number(), 1);
  // A sheet by name finds the same sheet.
  std::wstring name = GetId(sheet.obj(), 0x6E).text();
  Var byName = GetId(GetId(r.value.obj(), 0x1E5).obj(), 0xAA, {Var(name.c_str())});
  EXPECT_EQ(GetId(byName.obj(), 0x1E6).number(), 1);
  Unadvise();
}

TEST_F(BooksTest, OpenOfAMissingOrBrokenFileFailsWithTheReason) {
  Advise();
  CallResult missing = Open(L"C:\\no such folder\\无此文件.xlsx");
  EXPECT_EQ(missing.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(missing.value.type(), VT_EMPTY);
  EXPECT_NE(missing.description.find(L"文件不存在"), std::wstring::npos) << testing::PrintToString(missing.description);

  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring broken = std::wstring(dir) + L"qx-broken.xlsx";
  FILE* f = _wfopen(broken.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  std::fputs("PK\x03\x04 this is not a zip archive", f);
  std::fclose(f);
  CallResult bad = Open(broken);
  DeleteFileW(broken.c_str());
  EXPECT_EQ(bad.hr, DISP_E_EXCEPTION);
  EXPECT_NE(bad.description.find(L"无法读取文件"), std::wstring::npos) << testing::PrintToString(bad.description);
  EXPECT_NE(bad.description.find(L"qx-broken.xlsx"), std::wstring::npos);

  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(GetId(Get(app, L"Workbooks").obj(), 0x76).number(), 0);
  EXPECT_EQ(CallName(app, L"Sheets", DISPATCH_PROPERTYGET).hr, DISP_E_EXCEPTION);
  Unadvise();
}

// The reader opens by the program's bytes. The system writes "²" as "2":
// a name with it, beside a workbook whose name has the 2, must not open
// that other workbook.
TEST_F(BooksTest, ANameGbkCannotHoldOpensNoOtherFile) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring other = std::wstring(dir) + L"qx-题库2.xlsx", named = std::wstring(dir) + L"qx-题库².xlsx";
  ASSERT_TRUE(CopyFileW(SourcePath("samples/题库示例.xlsx").c_str(), other.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(SourcePath("samples/题库示例.xlsx").c_str(), named.c_str(), FALSE));
  CallResult r = Open(named);
  DeleteFileW(other.c_str());
  DeleteFileW(named.c_str());
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_NE(r.description.find(L"GBK 无法表示"), std::wstring::npos) << testing::PrintToString(r.description);
  EXPECT_EQ(GetId(Get(app, L"Workbooks").obj(), 0x76).number(), 0);
}

TEST_F(BooksTest, AddMakesABlankActiveWorkbookAndSheetsAddFiresNewSheet) {
  Advise();
  Var books = GetId(app, 0x23C);
  CallResult added = Call(books.obj(), 0xB5, DISPATCH_METHOD, {Var::Missing()});
  ASSERT_EQ(added.hr, S_OK);
  EXPECT_EQ(GetId(books.obj(), 0x76).number(), 1);
  Var sheets = GetId(app, 0x1E5);
  EXPECT_EQ(GetId(sheets.obj(), 0x76).number(), 1);
  Var used = Get(GetId(sheets.obj(), 0xAA, {Var(1)}).obj(), L"UsedRange");
  EXPECT_EQ(Get(used.obj(), L"Address").text(), L"$A$1");
  EXPECT_EQ(Get(used.obj(), L"Value").type(), VT_EMPTY);
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[1].id, 0x620);
  sink.events.clear();
  Var added2 = Method(sheets.obj(), L"Add");
  EXPECT_EQ(GetId(added2.obj(), 0x1E6).number(), 2);
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].id, 0x625);
  EXPECT_EQ(sink.events[0].args, 2u);
  // Switched off, nothing reaches the sink.
  sink.events.clear();
  Put(app, L"EnableEvents", Var(0));
  Method(books.obj(), L"Add");
  EXPECT_TRUE(sink.events.empty());
  Unadvise();
}

TEST_F(BooksTest, CloseAndQuitLeaveNoWorkbook) {
  Var books = GetId(app, 0x23C);
  Method(books.obj(), L"Add");
  ASSERT_EQ(Open(SourcePath("tests/reader/data/types.xlsx")).hr, S_OK);
  EXPECT_EQ(GetId(books.obj(), 0x76).number(), 2);
  EXPECT_EQ(GetId(GetId(books.obj(), 0xAA, {Var(2)}).obj(), 0x6E).text(), L"types.xlsx");
  EXPECT_EQ(GetId(GetId(books.obj(), 0xAA, {Var(L"TYPES.XLSX")}).obj(), 0x6E).text(), L"types.xlsx");
  EXPECT_EQ(Call(books.obj(), 0xAA, DISPATCH_PROPERTYGET, {Var(3)}).hr, DISP_E_EXCEPTION);
  // A sheet taken before Close stays readable (it keeps its workbook).
  Var sheet = GetId(GetId(app, 0x1E5).obj(), 0xAA, {Var(1)});
  EXPECT_EQ(Call(books.obj(), 0x115, DISPATCH_METHOD).hr, S_OK);
  EXPECT_EQ(GetId(books.obj(), 0x76).number(), 0);
  EXPECT_EQ(CallName(app, L"Sheets", DISPATCH_PROPERTYGET).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(Get(sheet.obj(), L"Index").number(), 1);
  // Sheet numbers past the count fail; the caller keeps its sheet.
  Method(books.obj(), L"Add");
  EXPECT_EQ(Call(GetId(app, 0x1E5).obj(), 0xAA, DISPATCH_PROPERTYGET, {Var(2)}).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(Call(GetId(app, 0x1E5).obj(), 0xAA, DISPATCH_PROPERTYGET, {Var(0)}).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(Call(app, 0x12E, DISPATCH_METHOD).hr, S_OK);
  EXPECT_EQ(GetId(books.obj(), 0x76).number(), 0);
  // The application answers after Quit until its last reference goes.
  EXPECT_EQ(GetId(app, 0x188).text(), L"1.0");
}

TEST_F(BooksTest, EveryObjectGoesWithItsLastReference) {
  Advise();
  {
    Var books = Get(app, L"Workbooks");
    Var book = Method(books.obj(), L"Add");
    Var sheet = Get(Get(book.obj(), L"Sheets").obj(), L"Item", {Var(1)});
    Var range = Get(sheet.obj(), L"Range", {Var(L"A1:B2")});
    Var font = Get(range.obj(), L"Font");
    Var rows = Get(range.obj(), L"Rows");
    Var window = Get(app, L"ActiveWindow");
    EXPECT_GE(LiveObjects(), 9);
  }
  EXPECT_EQ(LiveObjects(), 2);  // the application and the connection point
  Unadvise();
  EXPECT_EQ(LiveObjects(), 1);
  // A sink still advised when the client lets the application go is
  // released with it.
  Advise();
  point->Release();
  point = nullptr;
  app->Release();
  app = nullptr;
  EXPECT_EQ(sink.refs, 1u);
  EXPECT_EQ(LiveObjects(), 0);
}

// The DLL offers no way to register itself.
TEST(SheetServerDll, ExportsNoRegistration) {
  HMODULE dll = LoadLibraryW(ServerDllPath().c_str());
  ASSERT_NE(dll, nullptr);
  EXPECT_NE(GetProcAddress(dll, "DllGetClassObject"), nullptr);
  EXPECT_NE(GetProcAddress(dll, "DllCanUnloadNow"), nullptr);
  EXPECT_EQ(GetProcAddress(dll, "DllRegisterServer"), nullptr);
  EXPECT_EQ(GetProcAddress(dll, "DllUnregisterServer"), nullptr);
  FreeLibrary(dll);
}

}  // namespace
}  // namespace qx::test
