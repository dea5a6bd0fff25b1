#include "app/AutomationWorksheet_win.h"

#include <oleauto.h>

#include "app/Conversion.h"
#include "automation/DispatchCall_win.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "automation/ObjectBlock.h"
#include "automation/ObjectCommands.h"
#include "runtime/Memory.h"
#include "ui/Properties.h"

namespace qx::app {
namespace {

AutomationWorksheet* Self(void* self) { return static_cast<AutomationWorksheet*>(self); }

// A block of rows holds at most this many cells, so that memory follows the
// workbook's width, not its height.
constexpr int32_t kBlockCells = 65536;
// Find's arguments as the application numbers them.
constexpr int32_t kLookInValues = -4163, kLookAtPart = 2, kByRows = 1, kNext = 1;

TaggedValue Control(const AutomationWorksheet* w, uint32_t unit, uint32_t tag) {
  return {w->windowId, unit, tag};
}

TaggedValue Run(CommandFn command, const AutomationWorksheet* w, TaggedValue second = {}) {
  TaggedValue args[2] = {Control(w, w->workbookControl, kTagExcelWorkbooks), second};
  return CallCommand(command, second.tag ? 2 : 1, args);
}

// Object values read by name, as the converter reads them.
TaggedValue ObjectValue(void* block) {
  TaggedValue v;
  SetValuePointer(&v, block, kTagObject);
  return v;
}
void* ReadObject(void* object, const char* name) {
  TaggedValue args[2] = {ObjectValue(object), MakeTextValue(name)};
  TaggedValue r = {0, 0, kTagObject};
  ReadObjectProperty(&r, 2, args);
  return ValuePointer(r);
}
double ReadNumber(void* object, const char* name) {
  TaggedValue args[2] = {ObjectValue(object), MakeTextValue(name)};
  TaggedValue r = {0, 0, kTagDouble};
  ReadNumberProperty(&r, 2, args);
  return ValueDouble(r);
}
int32_t Truncated(double d) {
  return d >= -2147483648.0 && d < 2147483648.0 ? static_cast<int32_t>(d) : 0;
}
void Drop(void* object) {
  TaggedValue arg = ObjectValue(object);
  TaggedValue r = {};
  ClearObject(&r, 1, &arg);
  FreeMemory(object);
}

void ForgetSheet(AutomationWorksheet* w) {
  if (w->sheetDispatch) w->sheetDispatch->Release();
  w->sheetDispatch = nullptr;
  if (w->sheet) Drop(w->sheet);
  w->sheet = nullptr;
  w->blockRows = 0;
  w->blockTexts.clear();
}

bool OpenFirstSheet(void* self, const std::string& pathGbk, std::string* error) {
  AutomationWorksheet* w = Self(self);
  ForgetSheet(w);
  w->box = {};
  w->blocksWork = w->findWorks = w->fastPaths;
  TaggedValue app = Control(w, w->applicationControl, kTagExcelApp);
  CallCommand(StartApplication, 1, &app);
  Run(AttachApplication, w, app);
  Run(ActivateWorkbook, w);
  if (!Run(OpenWorkbook, w, MakeTextValue(pathGbk.c_str())).lo) {
    if (error) *error = LastOpenFailure();
    return false;
  }
  TaggedValue one = MakeInt(1);
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksCurrentSheetIndex, -1, one.lo, one.hi);
  w->sheet = ValuePointer(Run(GetCurrentSheetObject, w));
  auto* block = static_cast<ObjectBlock*>(w->sheet);
  if (block && block->iface)
    static_cast<IUnknown*>(block->iface)
        ->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&w->sheetDispatch));
  return true;
}

UsedRangeBox UsedRange(void* self) {
  AutomationWorksheet* w = Self(self);
  void* used = ReadObject(w->sheet, "UsedRange");
  void* rows = ReadObject(used, "Rows");
  void* columns = ReadObject(used, "Columns");
  UsedRangeBox box;
  box.rowCount = Truncated(ReadNumber(rows, "Count"));
  box.columnCount = Truncated(ReadNumber(columns, "Count"));
  // Where the range starts, so that a range that does not start at A1 is
  // walked through its own last row and column.
  box.firstRow = Truncated(ReadNumber(used, "Row"));
  box.firstColumn = Truncated(ReadNumber(used, "Column"));
  Drop(columns);
  Drop(rows);
  Drop(used);
  int64_t last = static_cast<int64_t>(box.firstRow < 1 ? 1 : box.firstRow) + box.rowCount - 1;
  w->lastRow = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  last = static_cast<int64_t>(box.firstColumn < 1 ? 1 : box.firstColumn) + box.columnCount - 1;
  w->lastColumn = last > INT32_MAX ? INT32_MAX : static_cast<int32_t>(last);
  w->box = box;
  return box;
}

// Rows [row, row + n) of columns 1..lastColumn as texts, in one call of the
// range's Value; false when the application gives no array.
bool FetchBlock(AutomationWorksheet* w, int32_t row) {
  w->blockRows = 0;
  w->blockTexts.clear();
  int32_t width = w->lastColumn;
  if (!w->sheetDispatch || width < 1 || width > kBlockCells) return false;
  int32_t n = kBlockCells / width;
  if (n > w->lastRow - row + 1) n = w->lastRow - row + 1;
  if (n < 1) return false;
  VARIANT corners[2] = {TextArgument(CellAddress(row, 1)),
                        TextArgument(CellAddress(row + n - 1, width))};
  IDispatch* range = DispatchGetObject(w->sheetDispatch, 0xC5, corners, 2);
  VariantClear(&corners[0]);
  VariantClear(&corners[1]);
  if (!range) return false;
  VARIANT value;
  bool got = DispatchGet(range, 0x6, &value);
  range->Release();
  if (!got) return false;
  bool ok = false;
  if (n == 1 && width == 1 && !(V_VT(&value) & VT_ARRAY)) {
    w->blockTexts.push_back(VariantToAnsi(value));
    ok = true;
  } else if (V_VT(&value) == (VT_ARRAY | VT_VARIANT) && SafeArrayGetDim(V_ARRAY(&value)) == 2) {
    SAFEARRAY* a = V_ARRAY(&value);
    LONG r0, r1, c0, c1;
    SafeArrayGetLBound(a, 1, &r0);
    SafeArrayGetUBound(a, 1, &r1);
    SafeArrayGetLBound(a, 2, &c0);
    SafeArrayGetUBound(a, 2, &c1);
    if (r1 - r0 + 1 == n && c1 - c0 + 1 == width) {
      w->blockTexts.reserve(static_cast<size_t>(n) * width);
      for (LONG r = 0; r < n; ++r)
        for (LONG c = 0; c < width; ++c) {
          LONG at[2] = {r0 + r, c0 + c};
          VARIANT cell;
          VariantInit(&cell);
          SafeArrayGetElement(a, at, &cell);
          w->blockTexts.push_back(VariantToAnsi(cell));
          VariantClear(&cell);
        }
      ok = true;
    }
  }
  VariantClear(&value);
  if (ok) {
    w->blockFirstRow = row;
    w->blockRows = n;
  } else {
    w->blockTexts.clear();
  }
  return ok;
}

bool InBlock(const AutomationWorksheet* w, int32_t row) {
  return w->blockRows > 0 && row >= w->blockFirstRow && row < w->blockFirstRow + w->blockRows;
}

const std::string& BlockText(const AutomationWorksheet* w, int32_t row, int32_t column) {
  return w->blockTexts[static_cast<size_t>(row - w->blockFirstRow) * w->lastColumn + (column - 1)];
}

void CellText(void* self, int32_t row, int32_t column, const char* address, std::string* text) {
  AutomationWorksheet* w = Self(self);
  if (w->blocksWork && column <= w->lastColumn && row <= w->lastRow) {
    if (InBlock(w, row) || FetchBlock(w, row)) {
      *text = BlockText(w, row, column);
      return;
    }
    w->blocksWork = false;
  }
  // The converter's own protocol: both addresses, then the content.
  std::string a = address && *address ? address : CellAddress(row, column);
  TaggedValue v = MakeTextValue(a.c_str());
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksRangeStart, -1, v.lo, v.hi);
  SetUnitProperty(w->windowId, w->workbookControl, kWorkbooksRangeEnd, -1, v.lo, v.hi);
  TaggedValue content = GetUnitProperty(w->windowId, w->workbookControl, kWorkbooksCellContent, -1);
  if (const char* t = ValueText(content)) text->assign(t);
  FreeMemory(ValuePointer(content));
}

// The next cell holding a value at or after (row, column) in row order, by
// the application's own search; false: none, or no search to be had.
bool FindNext(AutomationWorksheet* w, int32_t row, int32_t column, int32_t* foundRow,
              int32_t* foundColumn, bool* none) {
  *none = false;
  static const wchar_t kFind[] = L"Find";
  VARIANT corners[2] = {TextArgument("A1"), TextArgument(CellAddress(w->lastRow, w->lastColumn))};
  IDispatch* range = DispatchGetObject(w->sheetDispatch, 0xC5, corners, 2);
  VariantClear(&corners[0]);
  VariantClear(&corners[1]);
  if (!range) return false;
  // The search starts after `After` and wraps around the range.
  int32_t ar = row, ac = column - 1;
  if (ac < 1) {
    ac = w->lastColumn;
    ar = row > 1 ? row - 1 : w->lastRow;
  }
  VARIANT afterAddress[2] = {TextArgument(CellAddress(ar, ac)), TextArgument(CellAddress(ar, ac))};
  IDispatch* after = DispatchGetObject(w->sheetDispatch, 0xC5, afterAddress, 2);
  VariantClear(&afterAddress[0]);
  VariantClear(&afterAddress[1]);
  DISPID find = DispatchIdOf(range, kFind);
  bool answered = false;
  if (after && find != DISPID_UNKNOWN) {
    VARIANT args[6] = {TextArgument("*"), {}, IntArgument(kLookInValues), IntArgument(kLookAtPart),
                       IntArgument(kByRows), IntArgument(kNext)};
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = after;
    VARIANT result;
    if (DispatchCallMethod(range, find, &result, args, 6)) {
      answered = true;
      IDispatch* cell = (V_VT(&result) == VT_DISPATCH) ? V_DISPATCH(&result) : nullptr;
      if (!cell) {
        *none = true;
      } else {
        VARIANT r, c;
        DispatchGet(cell, DispatchIdOf(cell, L"Row"), &r);
        DispatchGet(cell, DispatchIdOf(cell, L"Column"), &c);
        *foundRow = VariantToInt(r);
        *foundColumn = VariantToInt(c);
        VariantClear(&r);
        VariantClear(&c);
        // Wrapped around to the start: nothing after (row, column).
        if (*foundRow < row || (*foundRow == row && *foundColumn < column) || *foundRow < 1)
          *none = true;
      }
      VariantClear(&result);
    }
    VariantClear(&args[0]);
  }
  if (after) after->Release();
  range->Release();
  return answered;
}

bool NextStoredCell(void* self, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  AutomationWorksheet* w = Self(self);
  while (row <= lastRow) {
    if (column > lastColumn) {
      ++row;
      column = 1;
      continue;
    }
    if (InBlock(w, row)) {
      // Walk what the block already holds.
      int32_t end = w->blockFirstRow + w->blockRows;
      for (; row < end && row <= lastRow; ++row, column = 1)
        for (; column <= lastColumn && column <= w->lastColumn; ++column)
          if (!BlockText(w, row, column).empty()) {
            *foundRow = row;
            *foundColumn = column;
            return true;
          }
      continue;
    }
    if (w->findWorks && w->sheetDispatch) {
      bool none = false;
      if (FindNext(w, row, column, foundRow, foundColumn, &none)) {
        if (none || *foundRow > lastRow) return false;
        if (*foundColumn <= lastColumn) return true;
        row = *foundRow + 1;  // past the walked columns: the next row
        column = 1;
        continue;
      }
      w->findWorks = false;
    }
    if (w->blocksWork && FetchBlock(w, row)) continue;
    // No fast path at all: every cell may hold a value.
    *foundRow = row;
    *foundColumn = column;
    return true;
  }
  return false;
}

const WorksheetOps kAutomationOps = {OpenFirstSheet, UsedRange, CellText, NextStoredCell, false};
const WorksheetOps kProtocolOps = {OpenFirstSheet, UsedRange, CellText, nullptr, false};

}  // namespace

WorksheetSource MakeAutomationWorksheetSource(AutomationWorksheet* worksheet) {
  return {worksheet->fastPaths ? &kAutomationOps : &kProtocolOps, worksheet};
}

void EndAutomationWorksheet(AutomationWorksheet* worksheet) { ForgetSheet(worksheet); }

}  // namespace qx::app
