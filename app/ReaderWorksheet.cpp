#include "app/ReaderWorksheet.h"

#include <algorithm>

namespace qx::app {
namespace {

ReaderWorksheet* Self(void* self) { return static_cast<ReaderWorksheet*>(self); }

bool OpenFirstSheet(void* self, const std::string& pathGbk, std::string* error) {
  ReaderWorksheet* w = Self(self);
  w->sheet = nullptr;
  if (!reader::OpenWorkbookFile(pathGbk, &w->book, error)) return false;
  if (!w->book.sheets.empty()) w->sheet = &w->book.sheets.front();
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
  if (const reader::Cell* c = reader::FindCell(*w->sheet, row, column))
    *text = reader::CellDisplayText(w->book, *c);
}

bool NextStoredCell(void* self, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  ReaderWorksheet* w = Self(self);
  if (!w->sheet) return false;
  const std::vector<reader::Cell>& cells = w->sheet->cells;
  auto before = [](const reader::Cell& c, std::pair<int32_t, int32_t> at) {
    return c.row < at.first || (c.row == at.first && c.col < at.second);
  };
  auto it = std::lower_bound(cells.begin(), cells.end(), std::make_pair(row, column), before);
  for (; it != cells.end(); ++it) {
    if (it->row > lastRow) return false;
    if (it->col > lastColumn) {  // past the walked columns: on to the next row
      it = std::lower_bound(it, cells.end(), std::make_pair(it->row + 1, 1), before);
      if (it == cells.end()) return false;
      --it;
      continue;
    }
    *foundRow = it->row;
    *foundColumn = it->col;
    return true;
  }
  return false;
}

const WorksheetOps kReaderOps = {OpenFirstSheet, UsedRange, CellText, NextStoredCell};

}  // namespace

WorksheetSource MakeReaderWorksheetSource(ReaderWorksheet* worksheet) {
  return {&kReaderOps, worksheet};
}

}  // namespace qx::app
