#include "app/AutomationWorksheet_win.h"

#include "app/Conversion.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "automation/ObjectCommands.h"
#include "automation/OpenRefusal.h"
#include "runtime/Memory.h"
#include "runtime/encoding/Wide_win.h"
#include "ui/Properties.h"

namespace qx::app {
namespace {

AutomationWorksheet* Self(void* self) { return static_cast<AutomationWorksheet*>(self); }

TaggedValue Run(CommandFn command, const AutomationWorksheet* w, TaggedValue second = {}) {
  TaggedValue args[2] = {{w->windowId, w->workbookControl, kTagExcelWorkbooks}, second};
  return CallCommand(command, second.tag ? 2 : 1, args);
}

// Object values read by name, as the converter reads them.
OwnedObjectBlock ReadObject(const OwnedObjectBlock& object, const char* name) {
  TaggedValue args[2] = {{}, MakeTextValue(name)}, r = {0, 0, kTagObject};
  SetValuePointer(&args[0], object.get(), kTagObject);
  ReadObjectProperty(&r, 2, args);
  return OwnedObjectBlock(static_cast<ObjectBlock*>(ValuePointer(r)));
}
int32_t ReadCount(const OwnedObjectBlock& object, const char* name) {
  TaggedValue args[2] = {{}, MakeTextValue(name)}, r = {0, 0, kTagDouble};
  SetValuePointer(&args[0], object.get(), kTagObject);
  ReadNumberProperty(&r, 2, args);
  double d = ValueDouble(r);
  return d >= -2147483648.0 && d < 2147483648.0 ? static_cast<int32_t>(d) : 0;
}

// What the application said of a refused file: from our own server, its
// reader's code and the reason after the sentence's lead (which names the
// file the window's message names already); from another application, its
// own words.
reader::OpenFailure Refusal(const std::string& pathGbk, const DispatchFailure& said) {
  reader::OpenFailure file;
  std::wstring_view words = said.description;
  if (model::OpenRefusedCode(said.result, &file.code)) {
    std::wstring lead = model::OpenRefusedLead(WideFromAnsi(pathGbk));
    if (words.substr(0, lead.size()) == lead) words.remove_prefix(lead.size());
  }
  file.detail = Utf8FromWide(words);
  return file;
}

bool OpenFirstSheet(void* self, const std::string& pathGbk, OpenSheetFailure* why) {
  AutomationWorksheet* w = Self(self);
  EndAutomationWorksheet(w);
  TaggedValue app = {w->windowId, w->applicationControl, kTagExcelApp};
  StartReport start = StartApplicationSaying(app);
  // Attached even after a failed start: that lets go of what the workbook
  // control held of an earlier application.
  Run(AttachApplication, w, app);
  if (start.outcome == StartOutcome::kNothingToStart) {
    why->code = OpenSheetCode::kNoApplication;
    return false;
  }
  if (start.outcome == StartOutcome::kStartFailed) {
    why->code = OpenSheetCode::kStartFailed;
    why->startResult = start.result;
    return false;
  }
  Run(ActivateWorkbook, w);
  TaggedValue books = {w->windowId, w->workbookControl, kTagExcelWorkbooks};
  DispatchFailure said;
  if (!OpenWorkbookSaying(books, pathGbk.c_str(), &said)) {
    why->code = OpenSheetCode::kFileRefused;
    why->file = Refusal(pathGbk, said);
    return false;
  }
  TaggedValue one = MakeInt(1);
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksCurrentSheetIndex, -1, one.lo, one.hi);
  w->sheet.reset(static_cast<ObjectBlock*>(ValuePointer(Run(GetCurrentSheetObject, w))));
  if (w->sheet && w->sheet->iface)
    static_cast<IUnknown*>(w->sheet->iface)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(w->sheetDispatch.put()));
  w->walk.sheet = w->sheetDispatch.get();
  w->walk.blocksWork = w->walk.searchWorks = w->fastPaths;
  return true;
}

UsedRangeBox UsedRange(void* self) {
  AutomationWorksheet* w = Self(self);
  OwnedObjectBlock used = ReadObject(w->sheet, "UsedRange");
  // Where the range starts too, so that one that does not start at A1 is
  // walked through its own last row and column.
  UsedRangeBox box = {ReadCount(used, "Row"), ReadCount(used, "Column"), ReadCount(ReadObject(used, "Rows"), "Count"),
                      ReadCount(ReadObject(used, "Columns"), "Count")};
  SheetWalk& walk = w->walk;
  walk.firstRow = box.firstRow < 1 ? 1 : box.firstRow;
  int64_t last = int64_t{walk.firstRow} + box.rowCount - 1;
  walk.lastRow = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  last = int64_t{box.firstColumn < 1 ? 1 : box.firstColumn} + box.columnCount - 1;
  walk.lastColumn = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  return box;
}

void CellText(void* self, int32_t row, int32_t column, const char* address, std::string* text) {
  AutomationWorksheet* w = Self(self);
  if (BlockText(&w->walk, row, column, text)) return;
  // The converter's own protocol: both addresses, then the content.
  TaggedValue v = MakeTextValue(address);
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksRangeStart, -1, v.lo, v.hi);
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksRangeEnd, -1, v.lo, v.hi);
  TaggedValue content = GetUnitProperty(w->windowId, w->workbookControl, kWorkbooksCellContent, -1);
  if (const char* t = ValueText(content)) text->assign(t);
  FreeMemory(ValuePointer(content));
}

bool NextStoredCell(void* self, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  return NextCellToRead(&Self(self)->walk, row, column, lastRow, lastColumn, foundRow, foundColumn);
}

const WorksheetOps kAutomationOps = {OpenFirstSheet, UsedRange, CellText, NextStoredCell, false};
const WorksheetOps kProtocolOps = {OpenFirstSheet, UsedRange, CellText, nullptr, false};

}  // namespace

WorksheetSource MakeAutomationWorksheetSource(AutomationWorksheet* worksheet) {
  return {worksheet->fastPaths ? &kAutomationOps : &kProtocolOps, worksheet};
}

void EndAutomationWorksheet(AutomationWorksheet* worksheet) {
  worksheet->walk = SheetWalk();
  worksheet->sheetDispatch.Reset();
  worksheet->sheet.reset();
}

}  // namespace qx::app
