#include "app/ReaderWorksheet.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace qx::app {
namespace {

ReaderWorksheet* Self(void* self) { return static_cast<ReaderWorksheet*>(self); }

// A position as one number, in the cells' order (rows and columns are
// positive): one comparison instead of two.
uint64_t Key(int32_t row, int32_t column) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(column);
}
uint64_t Key(const reader::Cell& c) { return Key(c.row, c.col); }

// The first stored cell at or after (row, column), starting from the
// cursor when it is already in place.
size_t Seek(ReaderWorksheet* w, int32_t row, int32_t column) {
  const reader::Cells& cells = w->sheet->cells;
  const uint64_t key = Key(row, column);
  const size_t n = cells.size();
  size_t i = w->cursor;
  // The walk moves forward a cell or two at a time: step before searching.
  for (int step = 0; step < 4 && i < n && Key(cells[i]) < key; ++step) ++i;
  const bool inPlace = i <= n && (i == n || Key(cells[i]) >= key) && (i == 0 || Key(cells[i - 1]) < key);
  if (!inPlace) {
    i = static_cast<size_t>(std::lower_bound(cells.begin(), cells.end(), key,
                                             [](const reader::Cell& c, uint64_t at) { return Key(c) < at; }) -
                            cells.begin());
  }
  w->cursor = i;
  return i;
}

bool OpenFirstSheet(void* self, const std::string& pathGbk, OpenSheetFailure* why) {
  ReaderWorksheet* w = Self(self);
  w->sheet = nullptr;
  w->cursor = 0;
  // Only the sheet converted has to be readable: another that is not
  // still lists by name.
  if (!reader::OpenWorkbookFile(pathGbk, &w->book, &why->file, reader::BadSheets::KeepListed)) {
    why->code = OpenSheetCode::kFileRefused;
    return false;
  }
  if (w->book.sheets.empty()) return true;
  int index = w->sheetChoice.empty() ? 0 : reader::FindSheet(w->book, w->sheetChoice);
  if (index < 0) {
    why->code = OpenSheetCode::kNoSuchSheet;
    return false;
  }
  const reader::Sheet& chosen = w->book.sheets[static_cast<size_t>(index)];
  if (!chosen.failure.empty()) {
    why->code = OpenSheetCode::kFileRefused;
    why->file = {reader::OpenFailureCode::kUnreadableContent, chosen.failure};
    return false;
  }
  w->sheet = &chosen;
  return true;
}

UsedRangeBox UsedRange(void* self) {
  ReaderWorksheet* w = Self(self);
  if (!w->sheet) return {1, 1, 0, 0};
  reader::UsedRange r = reader::GetUsedRange(*w->sheet);
  return {r.firstRow, r.firstCol, r.rowCount, r.colCount};
}

void CellText(void* self, int32_t row, int32_t column, const char*, std::string* text) {
  ReaderWorksheet* w = Self(self);
  if (!w->sheet) return;
  const reader::Cells& cells = w->sheet->cells;
  // The walk asks for the cell it was just given: no search then.
  size_t i = w->cursor;
  if (i >= cells.size() || cells[i].row != row || cells[i].col != column) i = Seek(w, row, column);
  if (i < cells.size() && cells[i].row == row && cells[i].col == column)
    reader::CellDisplayTextInto(w->book, cells[i], text);
}

bool NextStoredCell(void* self, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  ReaderWorksheet* w = Self(self);
  if (!w->sheet) return false;
  const reader::Cells& cells = w->sheet->cells;
  size_t i = Seek(w, row, column);
  while (i < cells.size()) {
    const reader::Cell& c = cells[i];
    if (c.row > lastRow) return false;
    if (c.col > lastColumn) {  // past the walked columns: on to the next row
      i = Seek(w, c.row + 1, 1);
      continue;
    }
    *foundRow = c.row;
    *foundColumn = c.col;
    return true;
  }
  return false;
}

const WorksheetOps kReaderOps = {OpenFirstSheet, UsedRange, CellText, NextStoredCell, true};

}  // namespace

WorksheetSource MakeReaderWorksheetSource(ReaderWorksheet* worksheet) {
  return {&kReaderOps, worksheet};
}

}  // namespace qx::app
