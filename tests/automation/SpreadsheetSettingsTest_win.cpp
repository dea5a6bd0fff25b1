// The spreadsheet controls' settings against our own server, beside the test
// program and in a process of its own, read and written through the
// runtime's property access as a program reaches them. Distinct values for
// like properties catch a member sent to the wrong DISPID; values put
// straight into the server show what the controls make of what an
// application sends back.
#include <gtest/gtest.h>

#include <memory>

#include "LocalServerRegistration_win.h"
#include "SpreadsheetWindow_win.h"
#include "automation/DispatchCall_win.h"
#include "automation/ObjectBlock.h"
#include "automation/SpreadsheetModel.h"
#include "ui/WindowRuntime_win.h"

namespace qx::test {
namespace {

constexpr wchar_t kLocalServer[] = L"qxsheets-app.exe";

// The parameter: the server in a process of its own.
class SpreadsheetSettings : public SpreadsheetWindow, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    running_ = test::CountProcesses(kLocalServer);
    if (GetParam()) {
      registration_ = std::make_unique<test::LocalServerRegistration>();
      ASSERT_TRUE(registration_->ok());
    }
    SpreadsheetWindow::SetUp();
  }
  // The window's end lets go of the server; the next test counts on its
  // process being gone.
  void TearDown() override {
    SpreadsheetWindow::TearDown();
    registration_.reset();
    EXPECT_TRUE(test::WaitForProcessCount(kLocalServer, running_, 10000));
  }
  int Served() const { return test::CountProcesses(kLocalServer) - running_; }

  static void Put(uint32_t unit, int32_t property, TaggedValue v) {
    SetUnitProperty(kWindow, unit, property, -1, v.lo, v.hi);
  }
  static void PutText(uint32_t unit, int32_t property, const char* text) {
    Put(unit, property, MakeTextValue(text));
  }
  static double GetDouble(uint32_t unit, int32_t property) {
    return ValueDouble(GetUnitProperty(kWindow, unit, property, -1));
  }
  static IDispatch* Application() { return HeldApplication(FindLiveUnit(kWindow, kApp)); }
  // The current sheet's range at `address`, straight from the server.
  static IDispatch* ServerRange(const char* address) {
    TaggedValue sheet = Run(GetCurrentSheetObject, kBooks, kTagExcelWorkbooks);
    auto* block = static_cast<ObjectBlock*>(ValuePointer(sheet));
    IDispatch* dispatch = nullptr;
    if (auto* unknown = static_cast<IUnknown*>(block->iface))
      unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    FreeObjectBlock(block);
    VARIANT a = TextArgument(address);
    IDispatch* range = DispatchGetObject(dispatch, model::kRange, &a, 1);
    VariantClear(&a);
    if (dispatch) dispatch->Release();
    return range;
  }
  // The VARIANT type and value the server holds for a member.
  static std::pair<VARTYPE, double> Held(IDispatch* object, DISPID member) {
    VARIANT v;
    DispatchGet(object, member, &v);
    std::pair<VARTYPE, double> held = {V_VT(&v), VariantToDouble(v)};
    VariantClear(&v);
    return held;
  }
  static void ServerPut(IDispatch* object, DISPID member, double d) {
    DispatchPut(object, member, DoubleArgument(d));
  }

  std::unique_ptr<test::LocalServerRegistration> registration_;
  int running_ = 0;
};
INSTANTIATE_TEST_SUITE_P(InOrOutOfProcess, SpreadsheetSettings, testing::Bool());

TEST_P(SpreadsheetSettings, ApplicationNumbersTravelAsTheirTypesAndComeBackTruncated) {
  Put(kApp, kExcelAppWidth, MakeDouble(5));  // detached: nothing happens
  EXPECT_EQ(GetDouble(kApp, kExcelAppWidth), 0);
  ASSERT_TRUE(Start());
  EXPECT_EQ(Served(), GetParam() ? 1 : 0);
  EXPECT_EQ(GetDouble(kApp, kExcelAppWidth), 800) << "the server's own width";
  const int32_t sides[] = {kExcelAppLeft, kExcelAppTop, kExcelAppWidth, kExcelAppHeight};
  for (int i = 0; i < 4; ++i) Put(kApp, sides[i], MakeDouble(10.25 + i));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetDouble(kApp, sides[i]), 10.25 + i) << sides[i];
  Put(kApp, kExcelAppWindowState, MakeInt(-4137));
  Put(kApp, kExcelAppStandardFontSize, MakeInt(14));
  Put(kApp, kExcelAppZoom, MakeInt(150));
  EXPECT_EQ(GetWord(kApp, kExcelAppWindowState), -4137);
  EXPECT_EQ(GetWord(kApp, kExcelAppStandardFontSize), 14);
  EXPECT_EQ(GetWord(kApp, kExcelAppZoom), 150);
  IDispatch* window = DispatchGetObject(Application(), model::kActiveWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Held(window, 0x297), std::make_pair(VARTYPE{VT_I4}, 150.0)) << "a 32-bit zoom";
  // What the application holds with a fraction reads cut off, not rounded.
  ServerPut(window, 0x297, 99.9);
  ServerPut(Application(), 0x39D, 10.75);
  window->Release();
  EXPECT_EQ(GetWord(kApp, kExcelAppZoom), 99);
  EXPECT_EQ(GetWord(kApp, kExcelAppStandardFontSize), 10);
}

TEST_P(SpreadsheetSettings, ApplicationTextsAndSwitchesAndEventsSwitchedOff) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(GetText(kApp, kExcelAppStandardFont), "宋体");
  PutText(kApp, kExcelAppCaption, "题库转换");
  PutText(kApp, kExcelAppActivePrinter, "打印机一");
  PutText(kApp, kExcelAppStandardFont, "黑体");
  EXPECT_EQ(GetText(kApp, kExcelAppCaption), "题库转换");
  EXPECT_EQ(GetText(kApp, kExcelAppActivePrinter), "打印机一");
  EXPECT_EQ(GetText(kApp, kExcelAppStandardFont), "黑体");
  EXPECT_EQ(GetWord(kApp, kExcelAppFullScreen), 0);
  Put(kApp, kExcelAppFullScreen, MakeBool(true));
  EXPECT_EQ(GetWord(kApp, kExcelAppFullScreen), 1);
  EXPECT_EQ(GetWord(kApp, kExcelAppEnableEvents), 1);
  // With events off the blank workbook of the attach step raises nothing;
  // switched on again, opening the next one does.
  Put(kApp, kExcelAppEnableEvents, MakeBool(false));
  EXPECT_EQ(GetWord(kApp, kExcelAppEnableEvents), 0);
  ASSERT_TRUE(Attach());
  EXPECT_TRUE(AppEvents().empty());
  Put(kApp, kExcelAppEnableEvents, MakeBool(true));
  ASSERT_TRUE(Attach());
  EXPECT_FALSE(AppEvents().empty());
}

TEST_P(SpreadsheetSettings, SheetSettingsNeedASheetAndReadOnlyOnesIgnoreWrites) {
  PutText(kBooks, kWorkbooksSheetName, "无");  // no sheet: nothing happens
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetName), "");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksSheetCount), 0);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetName), "Sheet1");
  PutText(kBooks, kWorkbooksSheetName, "第一章");
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetName), "第一章");
  PutText(kBooks, kWorkbooksSheetName, "");  // refused by the server, quietly
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetName), "第一章");
  Put(kBooks, kWorkbooksSheetCount, MakeInt(5));
  EXPECT_EQ(GetWord(kBooks, kWorkbooksSheetCount), 1);
  EXPECT_EQ(GetDouble(kBooks, kWorkbooksStandardWidth), 8.38);
  Put(kBooks, kWorkbooksStandardWidth, MakeDouble(12.5));
  EXPECT_EQ(GetDouble(kBooks, kWorkbooksStandardWidth), 12.5);
  Put(kBooks, kWorkbooksStandardHeight, MakeDouble(20));
  EXPECT_EQ(GetDouble(kBooks, kWorkbooksStandardHeight), 13.5);
  PutText(kBooks, kWorkbooksSheetBackground, "C:\\背景.bmp");
  EXPECT_EQ(GetText(kBooks, kWorkbooksSheetBackground), "") << "a picture is never read back";
}

TEST_P(SpreadsheetSettings, RangeFormattingFollowsTheCurrentRange) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  SetText(kWorkbooksRangeStart, "B2");  // no range yet: defaults, no call
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellFormat), "");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksHorizontalAlignment), 0);
  SetText(kWorkbooksRangeEnd, "B2");
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellFormat), "G/通用格式");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksColumnWidth), 8) << "the standard width, cut off";
  PutText(kBooks, kWorkbooksCellFormat, "0.00");
  const int32_t numbers[] = {kWorkbooksIndentLevel, kWorkbooksHorizontalAlignment,
                             kWorkbooksVerticalAlignment, kWorkbooksReadingOrder,
                             kWorkbooksColumnWidth, kWorkbooksRowHeight};
  const int32_t switches[] = {kWorkbooksAddIndent, kWorkbooksShrinkToFit, kWorkbooksWrapText};
  for (int i = 0; i < 6; ++i) Put(kBooks, numbers[i], MakeInt(20 + i));
  for (int32_t p : switches) Put(kBooks, p, MakeBool(true));
  Put(kBooks, kWorkbooksReserved, MakeInt(7));
  EXPECT_EQ(GetText(kBooks, kWorkbooksCellFormat), "0.00");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(GetWord(kBooks, numbers[i]), 20 + i) << numbers[i];
  for (int32_t p : switches) EXPECT_EQ(GetWord(kBooks, p), 1) << p;
  EXPECT_EQ(GetWord(kBooks, kWorkbooksReserved), 0);
  Put(kBooks, kWorkbooksWrapText, MakeBool(false));
  EXPECT_EQ(GetWord(kBooks, kWorkbooksWrapText), 0);
  IDispatch* range = ServerRange("B2");
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(Held(range, 0x427), std::make_pair(VARTYPE{VT_I4}, 1.0)) << "a logical as 1";
  EXPECT_EQ(Held(range, 0xF2), std::make_pair(VARTYPE{VT_R8}, 24.0)) << "a width as a double";
  ServerPut(range, 0x110, 15.75);
  range->Release();
  EXPECT_EQ(GetWord(kBooks, kWorkbooksRowHeight), 15);
  // Another range has formatting of its own.
  SetText(kWorkbooksRangeEnd, "C3");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksIndentLevel), 0);
}

TEST_P(SpreadsheetSettings, FontSettingsOfTheCurrentRange) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Attach());
  Cell("B2");
  EXPECT_EQ(GetText(kBooks, kWorkbooksFontName), "宋体");
  EXPECT_EQ(GetWord(kBooks, kWorkbooksFontSize), 11);
  EXPECT_EQ(GetWord(kBooks, kWorkbooksUnderline), 0) << "the application's 'no underline'";
  const int32_t switches[] = {kWorkbooksBold,          kWorkbooksItalic,      kWorkbooksShadow,
                              kWorkbooksStrikethrough, kWorkbooksSuperscript, kWorkbooksSubscript,
                              kWorkbooksUnderline};
  for (int32_t p : switches) EXPECT_EQ(GetWord(kBooks, p), 0) << p;
  for (int32_t p : switches) Put(kBooks, p, MakeBool(true));
  Put(kBooks, kWorkbooksFontColour, MakeInt(0x0000FF));
  Put(kBooks, kWorkbooksFontSize, MakeInt(16));
  PutText(kBooks, kWorkbooksFontName, "黑体");
  for (int32_t p : switches) EXPECT_EQ(GetWord(kBooks, p), 1) << p;
  EXPECT_EQ(GetWord(kBooks, kWorkbooksFontColour), 0x0000FF);
  EXPECT_EQ(GetWord(kBooks, kWorkbooksFontSize), 16);
  EXPECT_EQ(GetText(kBooks, kWorkbooksFontName), "黑体");
  Put(kBooks, kWorkbooksUnderline, MakeBool(false));
  EXPECT_EQ(GetWord(kBooks, kWorkbooksUnderline), 0);
  IDispatch* range = ServerRange("B2");
  ASSERT_NE(range, nullptr);
  IDispatch* font = DispatchGetObject(range, model::kFont);
  range->Release();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Held(font, 0x68), std::make_pair(VARTYPE{VT_I4}, 16.0)) << "a size as an integer";
  EXPECT_EQ(Held(font, 0x60), std::make_pair(VARTYPE{VT_I4}, 1.0)) << "a logical as 1";
  EXPECT_EQ(Held(font, 0x6A), std::make_pair(VARTYPE{VT_I4}, -4142.0)) << "false as VT_BOOL";
  ServerPut(font, 0x68, 10.5);
  font->Release();
  EXPECT_EQ(GetWord(kBooks, kWorkbooksFontSize), 10);
}

}  // namespace
}  // namespace qx::test
