// Finding stored cells inside an area without visiting empty ones: what a
// search for "*" and the reading of sparse sheets need. The sheet's cells
// are sorted by (row, column), so each step is a binary search.
#pragma once

#include <cstdint>
#include <functional>

#include "automation/server/SheetArea.h"
#include "reader/Workbook.h"

namespace qx::sheets {

enum class SearchOrder { ByRows, ByColumns };

// Which stored cells count; null: every stored cell.
using CellMatch = std::function<bool(const reader::Cell&)>;

// The first matching cell of `area` strictly after (row, col) in the given
// order and direction, wrapping round inside the area and ending with
// (row, col) itself, as a spreadsheet's Find does. (row, col) must lie in
// the area. Null when no cell matches.
const reader::Cell* FindInArea(const reader::Sheet& sheet, const Area& area, int32_t row,
                               int32_t col, SearchOrder order, bool forward,
                               const CellMatch& match);

// The first stored cell of `area` at or after (row, col) in row order, or
// null: the step a reader of a sparse area takes.
const reader::Cell* NextStoredCell(const reader::Sheet& sheet, const Area& area, int32_t row,
                                   int32_t col);

}  // namespace qx::sheets
