// A window holding the two spreadsheet controls, loaded as the program
// loads its window, and short ways to run their commands and properties.
#pragma once

#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OleSession_win.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "automation/SpreadsheetLibrary_win.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/Properties.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx::test {

constexpr uint32_t kWindow = 0x52010001, kSelf = 0x06010000;
constexpr uint32_t kApp = 0x16010002, kBooks = 0x16010003;

// The application control's events 0 (workbook opened) and 1 (workbook
// activated) are bound: each run notes its event and whether the workbook
// came as a non-empty object value.
inline std::vector<std::string>& AppEvents() {
  static std::vector<std::string> events;
  return events;
}
template <int Event>
void OnAppEvent(TaggedValue*, int32_t count, const uintptr_t* words) {
  auto* book = count >= 1 ? reinterpret_cast<const void* const*>(words[0]) : nullptr;
  AppEvents().push_back(std::to_string(Event) + (book && book[0] ? ":workbook" : ":empty"));
}
inline const EventHandlerFn kCode[2] = {OnAppEvent<0>, OnAppEvent<1>};

class SpreadsheetWindow : public ::testing::Test {
 protected:
  OleSession ole_;
  void SetUp() override {
    InstallWindowRuntime();
    CreateHiddenOwner();
    static const LibraryRecord* libs[2];
    libs[0] = CoreLibrary();
    libs[1] = SpreadsheetLibrary();
    StartLibraries(libs, 2);
    WindowTemplate w;
    w.id = kWindow;
    WindowSettings ws;
    ws.title = "表格控件测试";
    w.records.push_back(MakeUnitRecord(kSelf, kTagWindow, "", 0, 0, 300, 200, kUnitVisible,
                                       WriteWindowSettings(ws)));
    w.records.push_back(MakeUnitRecord(kBooks, kTagExcelWorkbooks, "Excel工作簿", 10, 10, 48, 40, 0, ""));
    UnitRecord app = MakeUnitRecord(kApp, kTagExcelApp, "Excel程序", 60, 10, 32, 32, 0, "");
    for (size_t i = 0; i < boundEvents_.size(); ++i)
      app.bindings.push_back({boundEvents_[i], static_cast<uint32_t>(4 * i), 0});
    w.records.push_back(app);
    AppEvents().clear();
    block_ = WriteDescription({w});
    ASSERT_TRUE(LoadWindowDescriptions(block_.data(), static_cast<uint32_t>(block_.size()), code_));
    ASSERT_TRUE(LoadWindow(FindWindowTemplate(kWindow), false, false, nullptr));
  }
  void TearDown() override {
    for (WindowTemplate& w : WindowTemplates())
      if (WindowIsAlive(w)) DestroyWindow(static_cast<HWND>(LiveUnit(w.records[0])->hwnd));
    FreeWindowDescriptions();
  }

  static TaggedValue Run(CommandFn command, uint32_t unit, uint32_t tag, TaggedValue extra = {}) {
    TaggedValue args[2] = {{kWindow, unit, tag}, extra};
    return CallCommand(command, extra.tag ? 2 : 1, args);
  }
  static bool Start() { return Run(StartApplication, kApp, kTagExcelApp).lo != 0; }
  static bool Attach() {
    return Run(AttachApplication, kBooks, kTagExcelWorkbooks, {kWindow, kApp, kTagExcelApp}).lo != 0;
  }
  static bool Open(const char* name) {
    return Run(OpenWorkbook, kBooks, kTagExcelWorkbooks, MakeTextValue(name)).lo != 0;
  }
  static void SetText(int32_t property, const char* text) {
    TaggedValue v = MakeTextValue(text);
    SetUnitProperty(kWindow, kBooks, property, -1, v.lo, v.hi);
  }
  static std::string GetText(uint32_t unit, int32_t property) {
    TaggedValue v = GetUnitProperty(kWindow, unit, property, -1);
    std::string s = ValueText(v) ? ValueText(v) : "";
    FreeMemory(ValuePointer(v));
    return s;
  }
  static int32_t GetWord(uint32_t unit, int32_t property) {
    return static_cast<int32_t>(GetUnitProperty(kWindow, unit, property, -1).lo);
  }
  static std::string Cell(const char* address) {
    SetText(kWorkbooksRangeStart, address);
    SetText(kWorkbooksRangeEnd, address);
    return GetText(kBooks, kWorkbooksCellContent);
  }
  std::string block_;
  // The application control's bound events, each to the handler at the same
  // place of the code table.
  std::vector<int32_t> boundEvents_ = {0, 1};
  const EventHandlerFn* code_ = kCode;
};

}  // namespace qx::test
