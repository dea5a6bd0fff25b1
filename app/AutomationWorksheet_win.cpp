#include "app/AutomationWorksheet_win.h"

#include "app/Conversion.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "automation/ObjectCommands.h"
#include "runtime/Memory.h"
#include "ui/Properties.h"

namespace qx::app {
namespace {

AutomationWorksheet* Self(void* self) { return static_cast<AutomationWorksheet*>(self); }

// A block of rows holds at most this many cells, so that memory follows the
// workbook's width, not its height.
constexpr int32_t kBlockCells = 65536;

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

bool OpenFirstSheet(void* self, const std::string& pathGbk, std::string* error) {
  AutomationWorksheet* w = Self(self);
  EndAutomationWorksheet(w);
  w->box = {};
  w->blocksWork = w->searchWorks = w->fastPaths;
  TaggedValue app = {w->windowId, w->applicationControl, kTagExcelApp};
  CallCommand(StartApplication, 1, &app);
  Run(AttachApplication, w, app);
  Run(ActivateWorkbook, w);
  if (!Run(OpenWorkbook, w, MakeTextValue(pathGbk.c_str())).lo) {
    if (error) *error = LastOpenFailure();
    return false;
  }
  TaggedValue one = MakeInt(1);
  SetUnitProperty(w->windowId, w->workbookControl, kPropertyCurrentSheetIndex, -1, one.lo, one.hi);
  w->sheet.reset(static_cast<ObjectBlock*>(ValuePointer(Run(GetCurrentSheetObject, w))));
  if (w->sheet && w->sheet->iface)
    static_cast<IUnknown*>(w->sheet->iface)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(w->sheetDispatch.put()));
  return true;
}

UsedRangeBox UsedRange(void* self) {
  AutomationWorksheet* w = Self(self);
  OwnedObjectBlock used = ReadObject(w->sheet, "UsedRange");
  // Where the range starts too, so that one that does not start at A1 is
  // walked through its own last row and column.
  w->box = {ReadCount(used, "Row"), ReadCount(used, "Column"), ReadCount(ReadObject(used, "Rows"), "Count"),
            ReadCount(ReadObject(used, "Columns"), "Count")};
  int64_t last = int64_t{w->box.firstRow < 1 ? 1 : w->box.firstRow} + w->box.rowCount - 1;
  w->lastRow = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  last = int64_t{w->box.firstColumn < 1 ? 1 : w->box.firstColumn} + w->box.columnCount - 1;
  w->lastColumn = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  return w->box;
}

// The block of whole rows that starts at `row`.
bool Fetch(AutomationWorksheet* w, int32_t row) {
  if (w->lastColumn < 1 || w->lastColumn > kBlockCells) return false;
  int32_t n = kBlockCells / w->lastColumn;
  if (n > w->lastRow - row + 1) n = w->lastRow - row + 1;
  return FetchRows(w->sheetDispatch.get(), row, n, w->lastColumn, &w->rows);
}

void CellText(void* self, int32_t row, int32_t column, const char* address, std::string* text) {
  AutomationWorksheet* w = Self(self);
  if (w->blocksWork && column <= w->lastColumn && row <= w->lastRow) {
    if (w->rows.Holds(row) || Fetch(w, row)) {
      text->assign(w->rows.Text(row, column));
      return;
    }
    w->blocksWork = false;
  }
  // The converter's own protocol: both addresses, then the content.
  TaggedValue v = MakeTextValue(address);
  SetUnitProperty(w->windowId, w->workbookControl, kPropertyRangeStart, -1, v.lo, v.hi);
  SetUnitProperty(w->windowId, w->workbookControl, kPropertyRangeEnd, -1, v.lo, v.hi);
  TaggedValue content = GetUnitProperty(w->windowId, w->workbookControl, kPropertyCellContent, -1);
  if (const char* t = ValueText(content)) text->assign(t);
  FreeMemory(ValuePointer(content));
}

// Every cell of the blocks is read, so no search decides which are. The
// search only leaps over a whole block of empty rows, and both ways of it
// together: each passes over cells that the other finds.
bool NextStoredCell(void* self, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  AutomationWorksheet* w = Self(self);
  IDispatch* sheet = w->sheetDispatch.get();
  if (row < w->box.firstRow) {  // nothing is stored above the used range
    row = w->box.firstRow;
    column = 1;
  }
  while (row <= lastRow) {
    if (column > lastColumn) {
      ++row;
      column = 1;
      continue;
    }
    if (!w->rows.Holds(row) && !(w->blocksWork && Fetch(w, row))) {
      // No blocks: the search points at the cells to read one by one;
      // without it every cell is one.
      w->blocksWork = false;
      SearchAnswer a = SearchAnswer::kNoSearch;
      if (w->searchWorks) a = FindNextCell(sheet, w->lastRow, w->lastColumn, row, column, foundRow, foundColumn);
      if (a != SearchAnswer::kNoSearch) return a == SearchAnswer::kFound && *foundRow <= lastRow;
      w->searchWorks = false;
      *foundRow = row;
      *foundColumn = column;
      return true;
    }
    if (w->rows.NextFilled(row, column, lastRow, lastColumn, foundRow, foundColumn)) return true;
    const bool emptyBlock = w->rows.filled == 0;
    row = w->rows.firstRow + w->rows.rows;
    column = 1;
    if (!emptyBlock || !w->searchWorks || row > lastRow) continue;
    SearchAnswer a = FindNextCell(sheet, w->lastRow, w->lastColumn, row, 1, foundRow, foundColumn);
    if (a == SearchAnswer::kNone) return false;
    if (a == SearchAnswer::kFound) row = *foundRow;  // the next block starts with its row
    w->searchWorks = a == SearchAnswer::kFound;
  }
  return false;
}

const WorksheetOps kAutomationOps = {OpenFirstSheet, UsedRange, CellText, NextStoredCell, false};
const WorksheetOps kProtocolOps = {OpenFirstSheet, UsedRange, CellText, nullptr, false};

}  // namespace

WorksheetSource MakeAutomationWorksheetSource(AutomationWorksheet* worksheet) {
  return {worksheet->fastPaths ? &kAutomationOps : &kProtocolOps, worksheet};
}

void EndAutomationWorksheet(AutomationWorksheet* worksheet) {
  worksheet->sheetDispatch.Reset();
  worksheet->sheet.reset();
  worksheet->rows = RowBlock();
}

}  // namespace qx::app
