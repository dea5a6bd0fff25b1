// Our spreadsheet server through IDispatch, as a spreadsheet client drives
// it: members by name and by their fixed DISPIDs, addresses, values,
// workbooks opened, added and closed, and the objects all released.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ServerFixture_win.h"

namespace qx::test {
namespace {

struct Member {
  const wchar_t* name;
  DISPID id;
};

void ExpectIds(IDispatch* d, std::initializer_list<Member> members) {
  ASSERT_NE(d, nullptr);
  for (const Member& m : members)
    EXPECT_EQ(IdOf(d, m.name), m.id) << testing::PrintToString(std::wstring(m.name));
}

TEST_F(ServerTest, MembersHaveTheirFixedDispids) {
  ExpectIds(app, {{L"Workbooks", 0x23C}, {L"Application", 0x94}, {L"Sheets", 0x1E5},
                  {L"ActiveWindow", 0x2F7}, {L"Version", 0x188}, {L"Caption", 0x8B},
                  {L"Visible", 0x22E}, {L"Left", 0x7F}, {L"Top", 0x7E}, {L"Width", 0x7A},
                  {L"Height", 0x7B}, {L"WindowState", 0x18C}, {L"EnableEvents", 0x4BC},
                  {L"ActivePrinter", 0x132}, {L"DisplayFullScreen", 0x425},
                  {L"StandardFont", 0x39C}, {L"StandardFontSize", 0x39D}, {L"Quit", 0x12E},
                  {L"Activate", 0x130}});
  Var books = Get(app, L"Workbooks");
  ExpectIds(books.obj(), {{L"Add", 0xB5}, {L"Open", 0x2AA}, {L"Close", 0x115}, {L"Count", 0x76},
                          {L"Item", 0xAA}});
  Var book = Method(books.obj(), L"Add");
  ExpectIds(book.obj(), {{L"Sheets", 0x1E5}, {L"Activate", 0x130}, {L"Name", 0x6E}});
  Var sheets = Get(book.obj(), L"Sheets");
  ExpectIds(sheets.obj(), {{L"Item", 0xAA}, {L"Count", 0x76}});
  Var sheet = Get(sheets.obj(), L"Item", {Var(1)});
  ExpectIds(sheet.obj(), {{L"Range", 0xC5}, {L"Name", 0x6E}, {L"Index", 0x1E6},
                          {L"StandardWidth", 0x198}, {L"StandardHeight", 0x197},
                          {L"SetBackgroundPicture", 0x4A4}});
  EXPECT_NE(IdOf(sheet.obj(), L"UsedRange"), DISPID_UNKNOWN);
  EXPECT_NE(IdOf(sheet.obj(), L"Cells"), DISPID_UNKNOWN);
  Var range = Get(sheet.obj(), L"Range", {Var(L"A1")});
  ExpectIds(range.obj(), {{L"Value", 0x6}, {L"Count", 0x76}, {L"Font", 0x92},
                          {L"NumberFormatLocal", 0x449}, {L"AddIndent", 0x427},
                          {L"IndentLevel", 0xC9}, {L"HorizontalAlignment", 0x88},
                          {L"VerticalAlignment", 0x89}, {L"ShrinkToFit", 0xD1}, {L"WrapText", 0x114},
                          {L"ReadingOrder", 0x3CF}, {L"ColumnWidth", 0xF2}, {L"RowHeight", 0x110}});
  for (const wchar_t* name : {L"Rows", L"Columns", L"Row", L"Column", L"Address", L"Find"})
    EXPECT_NE(IdOf(range.obj(), name), DISPID_UNKNOWN) << testing::PrintToString(std::wstring(name));
  Var font = Get(range.obj(), L"Font");
  ExpectIds(font.obj(), {{L"Bold", 0x60}, {L"Color", 0x63}, {L"Italic", 0x65}, {L"Name", 0x6E},
                         {L"Shadow", 0x67}, {L"Size", 0x68}, {L"Strikethrough", 0x69},
                         {L"Superscript", 0xB3}, {L"Subscript", 0xB2}, {L"Underline", 0x6A}});
  Var window = Get(app, L"ActiveWindow");
  ExpectIds(window.obj(), {{L"Zoom", 0x297}});
}

// A client binds names the way the call engine does: type information of
// the object, ITypeComp::Bind with the system hash, then Invoke.
TEST_F(ServerTest, NamesBindThroughTheTypeInformation) {
  Var sheet = AddSheet();
  ITypeInfo* info = nullptr;
  ASSERT_EQ(sheet.obj()->GetTypeInfo(0, GetUserDefaultLCID(), &info), S_OK);
  ITypeComp* comp = nullptr;
  ASSERT_EQ(info->GetTypeComp(&comp), S_OK);
  info->Release();
  for (const wchar_t* name : {L"UsedRange", L"Range", L"Name"}) {
    ULONG hash = LHashValOfNameSys(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, GetUserDefaultLCID(), name);
    ITypeInfo* bound = nullptr;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR ptr = {};
    ASSERT_EQ(comp->Bind(const_cast<LPOLESTR>(name), hash, INVOKE_PROPERTYGET, &bound, &kind, &ptr), S_OK);
    ASSERT_EQ(kind, DESCKIND_FUNCDESC) << testing::PrintToString(std::wstring(name));
    EXPECT_EQ(ptr.lpfuncdesc->invkind, INVOKE_PROPERTYGET);
    bound->ReleaseFuncDesc(ptr.lpfuncdesc);
    bound->Release();
  }
  comp->Release();
}

TEST_F(ServerTest, ApplicationSettingsReadBackWhatWasWritten) {
  EXPECT_EQ(GetId(app, 0x188).text(), L"1.0");
  Put(app, L"Caption", Var(L"题库"));
  EXPECT_EQ(GetId(app, 0x8B).text(), L"题库");
  // The workbook control sends logical values as the integers 0 and 1.
  EXPECT_EQ(Call(app, 0x22E, DISPATCH_PROPERTYPUT, {Var(1)}).hr, S_OK);
  EXPECT_EQ(GetId(app, 0x22E).type(), VT_BOOL);
  EXPECT_EQ(GetId(app, 0x22E).number(), -1);
  Put(app, L"Left", Var(12.5));
  EXPECT_EQ(GetId(app, 0x7F).number(), 12.5);
  Put(app, L"WindowState", Var(-4137));
  EXPECT_EQ(GetId(app, 0x18C).number(), -4137);
  EXPECT_EQ(GetId(app, 0x4BC).number(), -1);
  Put(app, L"StandardFontSize", Var(9.0));
  EXPECT_EQ(GetId(app, 0x39D).number(), 9.0);
  EXPECT_EQ(Call(app, 0x130, DISPATCH_METHOD).hr, S_OK);
  Var window = GetId(app, 0x2F7);
  EXPECT_EQ(GetId(window.obj(), 0x297).number(), 100);
  Put(window.obj(), L"Zoom", Var(85));
  EXPECT_EQ(GetId(Get(app, L"ActiveWindow").obj(), 0x297).number(), 85);
  // "Application" is the application object itself.
  Var self = GetId(app, 0x94);
  EXPECT_EQ(GetId(self.obj(), 0x8B).text(), L"题库");
}

TEST_F(ServerTest, AddressesInA1NotationAreAccepted) {
  Var sheet = AddSheet();
  struct Case {
    const wchar_t* address;
    const wchar_t* canonical;
    long row, column, count;
  };
  for (const Case& c : std::initializer_list<Case>{
           {L"A1", L"$A$1", 1, 1, 1},
           {L"b12", L"$B$12", 12, 2, 1},
           {L"$C$3", L"$C$3", 3, 3, 1},
           {L"C$3", L"$C$3", 3, 3, 1},
           {L"$C3", L"$C$3", 3, 3, 1},
           {L"A1:B3", L"$A$1:$B$3", 1, 1, 6},
           {L"B3:A1", L"$A$1:$B$3", 1, 1, 6},
           {L"$A$1:$C$2", L"$A$1:$C$2", 1, 1, 6},
           {L"XFD1048576", L"$XFD$1048576", 1048576, 16384, 1},
           {L"AA10:AB10", L"$AA$10:$AB$10", 10, 27, 2},
       }) {
    CallResult r = Call(sheet.obj(), 0xC5, DISPATCH_PROPERTYGET, {Var(c.address)});
    ASSERT_EQ(r.hr, S_OK) << testing::PrintToString(std::wstring(c.address));
    EXPECT_EQ(Get(r.value.obj(), L"Address").text(), c.canonical);
    EXPECT_EQ(Get(r.value.obj(), L"Row").number(), c.row);
    EXPECT_EQ(Get(r.value.obj(), L"Column").number(), c.column);
    EXPECT_EQ(GetId(r.value.obj(), 0x76).number(), c.count);
  }
  // Two addresses: the rectangle that holds both.
  Var two = GetId(sheet.obj(), 0xC5, {Var(L"C2"), Var(L"A5")});
  EXPECT_EQ(Get(two.obj(), L"Address").text(), L"$A$2:$C$5");
  EXPECT_EQ(Get(Get(two.obj(), L"Rows").obj(), L"Count").number(), 4);
  EXPECT_EQ(Get(Get(two.obj(), L"Columns").obj(), L"Count").number(), 3);
  EXPECT_EQ(Get(two.obj(), L"Address", {Var(0), Var(0)}).text(), L"A2:C5");
  // Cells by row and column.
  Var cell = Get(sheet.obj(), L"Cells", {Var(7), Var(28)});
  EXPECT_EQ(Get(cell.obj(), L"Address").text(), L"$AB$7");
}

TEST_F(ServerTest, AnythingElseIsRejectedWithAnErrorResult) {
  Var sheet = AddSheet();
  for (const wchar_t* bad : {L"", L"A0", L"A01", L"XFE1", L"A1048577", L"1A", L"A", L"1", L"A1:",
                             L":A1", L"A$$1", L"$$A1", L"A1:B2:C3", L"A-1", L"A+1", L"A 1", L" A1",
                             L"A1B", L"Ａ1", L"ABCD1", L"A1.5", L"R1C1", L"Sheet1!A1"}) {
    CallResult r = Call(sheet.obj(), 0xC5, DISPATCH_PROPERTYGET, {Var(bad)});
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION) << testing::PrintToString(std::wstring(bad));
    EXPECT_EQ(r.value.type(), VT_EMPTY);
    EXPECT_NE(r.description.find(L"地址"), std::wstring::npos);
  }
  EXPECT_EQ(Call(sheet.obj(), 0xC5, DISPATCH_PROPERTYGET, {Var(L"A1"), Var(L"B0")}).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(CallName(sheet.obj(), L"Cells", DISPATCH_PROPERTYGET, {Var(0), Var(1)}).hr, DISP_E_EXCEPTION);
  EXPECT_EQ(CallName(sheet.obj(), L"Cells", DISPATCH_PROPERTYGET, {Var(1), Var(16385)}).hr, DISP_E_EXCEPTION);
}

TEST_F(ServerTest, OneCellValueComesAsItsVariantType) {
  Var sheet = AddSheet();
  PutCell(sheet.obj(), L"A1", Var(L"题目"));
  PutCell(sheet.obj(), L"B1", Var(2.5));
  Var logical;
  V_VT(&logical.v) = VT_BOOL;
  V_BOOL(&logical.v) = VARIANT_TRUE;
  PutCell(sheet.obj(), L"C1", logical);
  Var date;
  V_VT(&date.v) = VT_DATE;
  V_DATE(&date.v) = 45306.5;  // 2024-01-15 12:00
  PutCell(sheet.obj(), L"D1", date);
  Var error;
  V_VT(&error.v) = VT_ERROR;
  V_ERROR(&error.v) = static_cast<SCODE>(0x800A07E7);  // #DIV/0!
  PutCell(sheet.obj(), L"E1", error);
  auto value = [&](const wchar_t* address) {
    return GetId(GetId(sheet.obj(), 0xC5, {Var(address), Var(address)}).obj(), 0x6);
  };
  EXPECT_EQ(value(L"A1").type(), VT_BSTR);
  EXPECT_EQ(value(L"A1").text(), L"题目");
  EXPECT_EQ(value(L"B1").type(), VT_R8);
  EXPECT_EQ(value(L"B1").text(), L"2.5");
  EXPECT_EQ(value(L"C1").type(), VT_BOOL);
  EXPECT_EQ(value(L"D1").type(), VT_DATE);
  EXPECT_EQ(value(L"D1").number(), 45306.5);
  EXPECT_EQ(value(L"E1").type(), VT_ERROR);
  Var e1 = value(L"E1");
  EXPECT_EQ(V_ERROR(&e1.v), static_cast<SCODE>(0x800A07E7));
  EXPECT_EQ(value(L"F1").type(), VT_EMPTY);
  // Emptying a cell removes it; the used range shrinks with it.
  PutCell(sheet.obj(), L"E1", Var());
  EXPECT_EQ(value(L"E1").type(), VT_EMPTY);
  EXPECT_EQ(Get(Get(sheet.obj(), L"UsedRange").obj(), L"Address").text(), L"$A$1:$D$1");
}

TEST_F(ServerTest, BlockValueIsARowsByColumnsArrayFromOne) {
  Var sheet = AddSheet();
  PutCell(sheet.obj(), L"B2", Var(L"b2"));
  PutCell(sheet.obj(), L"D2", Var(4));
  PutCell(sheet.obj(), L"C4", Var(L"c4"));
  PutCell(sheet.obj(), L"E4", Var(L"outside"));
  Var block = Get(Get(sheet.obj(), L"Range", {Var(L"B2:D4")}).obj(), L"Value");
  ASSERT_EQ(block.type(), VT_ARRAY | VT_VARIANT);
  SAFEARRAY* a = V_ARRAY(&block.v);
  ASSERT_EQ(SafeArrayGetDim(a), 2u);
  LONG lo, hi;
  SafeArrayGetLBound(a, 1, &lo);
  SafeArrayGetUBound(a, 1, &hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);  // rows
  SafeArrayGetLBound(a, 2, &lo);
  SafeArrayGetUBound(a, 2, &hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);  // columns
  auto at = [&](LONG row, LONG col) {
    LONG index[2] = {row, col};
    Var v;
    EXPECT_EQ(SafeArrayGetElement(a, index, &v.v), S_OK);
    return v;
  };
  EXPECT_EQ(at(1, 1).text(), L"b2");
  EXPECT_EQ(at(1, 3).text(), L"4");
  EXPECT_EQ(at(3, 2).text(), L"c4");
  EXPECT_EQ(at(2, 2).type(), VT_EMPTY);
  EXPECT_EQ(at(3, 3).type(), VT_EMPTY);
  // A wide block of a sheet holding only its far corner.
  Var wide = Get(Get(sheet.obj(), L"Range", {Var(L"D4:XFD4")}).obj(), L"Value");
  LONG index[2] = {1, 16384 - 3};
  Var last;
  SafeArrayGetElement(V_ARRAY(&wide.v), index, &last.v);
  EXPECT_EQ(last.type(), VT_EMPTY);
  index[1] = 2;
  SafeArrayGetElement(V_ARRAY(&wide.v), index, &last.v);
  EXPECT_EQ(last.text(), L"outside");
  // A whole sheet at once is refused, not allocated.
  CallResult whole = CallName(Get(sheet.obj(), L"Cells").obj(), L"Value", DISPATCH_PROPERTYGET);
  EXPECT_EQ(whole.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(CallName(Get(sheet.obj(), L"Cells").obj(), L"Count", DISPATCH_PROPERTYGET).hr, DISP_E_EXCEPTION);
}

TEST_F(ServerTest, BlockValueTakesAnArray) {
  Var sheet = AddSheet();
  SAFEARRAYBOUND bounds[2] = {{2, 1}, {2, 1}};
  SAFEARRAY* a = SafeArrayCreate(VT_VARIANT, 2, bounds);
  LONG i11[2] = {1, 1}, i12[2] = {1, 2}, i21[2] = {2, 1};
  Var x(L"x"), y(3), z(L"z");
  SafeArrayPutElement(a, i11, &x.v);
  SafeArrayPutElement(a, i12, &y.v);
  SafeArrayPutElement(a, i21, &z.v);
  Var array;
  V_VT(&array.v) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&array.v) = a;
  Put(Get(sheet.obj(), L"Range", {Var(L"B2:C3")}).obj(), L"Value", array);
  EXPECT_EQ(Get(Get(sheet.obj(), L"Range", {Var(L"C2")}).obj(), L"Value").text(), L"3");
  EXPECT_EQ(Get(Get(sheet.obj(), L"Range", {Var(L"B3")}).obj(), L"Value").text(), L"z");
  EXPECT_EQ(Get(Get(sheet.obj(), L"UsedRange").obj(), L"Address").text(), L"$B$2:$C$3");
  // One value for a block fills every cell.
  Put(Get(sheet.obj(), L"Range", {Var(L"A5:B6")}).obj(), L"Value", Var(L"f"));
  EXPECT_EQ(Get(Get(sheet.obj(), L"Range", {Var(L"B6")}).obj(), L"Value").text(), L"f");
}

TEST_F(ServerTest, FormattingIsKeptInMemoryWithDefaults) {
  Var sheet = AddSheet();
  Var range = Get(sheet.obj(), L"Range", {Var(L"A1")});
  EXPECT_EQ(GetId(range.obj(), 0x114).number(), 0);
  EXPECT_EQ(GetId(range.obj(), 0x88).number(), 1);
  EXPECT_EQ(Call(range.obj(), 0x114, DISPATCH_PROPERTYPUT, {Var(1)}).hr, S_OK);
  EXPECT_EQ(GetId(Get(sheet.obj(), L"Range", {Var(L"A1")}).obj(), 0x114).number(), 1);
  EXPECT_EQ(GetId(Get(sheet.obj(), L"Range", {Var(L"A2")}).obj(), 0x114).number(), 0);
  Var font = GetId(range.obj(), 0x92);
  EXPECT_EQ(GetId(font.obj(), 0x6E).text(), L"宋体");
  EXPECT_EQ(GetId(font.obj(), 0x6A).number(), -4142);
  Var yes;
  V_VT(&yes.v) = VT_BOOL;
  V_BOOL(&yes.v) = VARIANT_TRUE;
  EXPECT_EQ(Call(font.obj(), 0x6A, DISPATCH_PROPERTYPUT, {yes}).hr, S_OK);
  EXPECT_NE(GetId(GetId(range.obj(), 0x92).obj(), 0x6A).number(), 0);
  EXPECT_EQ(GetId(sheet.obj(), 0x198).number(), 8.38);
  EXPECT_EQ(Call(sheet.obj(), 0x198, DISPATCH_PROPERTYPUT, {Var(12.0)}).hr, S_OK);
  EXPECT_EQ(GetId(sheet.obj(), 0x198).number(), 12.0);
  EXPECT_GT(GetId(sheet.obj(), 0x197).number(), 0);
  EXPECT_EQ(Call(sheet.obj(), 0x4A4, DISPATCH_METHOD, {Var(L"C:\\none.bmp")}).hr, S_OK);
}

}  // namespace
}  // namespace qx::test
