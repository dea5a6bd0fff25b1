#include "automation/server/SheetSearch.h"

#include <algorithm>
#include <vector>

namespace qx::sheets {
namespace {

using reader::Cell;
using Cells = reader::Cells;

bool Before(const Cell& c, int32_t row, int32_t col) {
  return c.row != row ? c.row < row : c.col < col;
}

Cells::const_iterator LowerBound(const Cells& cells, int32_t row, int32_t col) {
  return std::lower_bound(cells.begin(), cells.end(), 0, [&](const Cell& c, int) {
    return Before(c, row, col);
  });
}

// First matching cell of `area` at or after (row, col) and at or before
// (endRow, endCol), in row order. Cells outside the area's columns are
// jumped over a row at a time, so a search costs a binary search per
// visited row, not per cell.
const Cell* ForwardRows(const Cells& cells, const Area& area, int32_t row, int32_t col,
                        int32_t endRow, int32_t endCol, const CellMatch& match) {
  if (col < area.firstCol) col = area.firstCol;
  if (col > area.lastCol) { ++row; col = area.firstCol; }
  auto it = LowerBound(cells, row, col);
  while (it != cells.end()) {
    if (it->row > endRow || (it->row == endRow && it->col > endCol)) return nullptr;
    if (it->col < area.firstCol) {
      it = LowerBound(cells, it->row, area.firstCol);
    } else if (it->col > area.lastCol) {
      if (it->row >= area.lastRow) return nullptr;
      it = LowerBound(cells, it->row + 1, area.firstCol);
    } else {
      if (!match || match(*it)) return &*it;
      ++it;
    }
  }
  return nullptr;
}

// The same backwards: last matching cell at or before (row, col) and at or
// after (endRow, endCol).
const Cell* BackwardRows(const Cells& cells, const Area& area, int32_t row, int32_t col,
                         int32_t endRow, int32_t endCol, const CellMatch& match) {
  if (col > area.lastCol) col = area.lastCol;
  if (col < area.firstCol) { --row; col = area.lastCol; }
  // The first cell after (row, col), then step back.
  auto it = LowerBound(cells, row, col + 1);
  while (it != cells.begin()) {
    auto prev = std::prev(it);
    if (prev->row < endRow || (prev->row == endRow && prev->col < endCol)) return nullptr;
    if (prev->col > area.lastCol) {
      it = LowerBound(cells, prev->row, area.lastCol + 1);
    } else if (prev->col < area.firstCol) {
      if (prev->row <= area.firstRow) return nullptr;
      it = LowerBound(cells, prev->row - 1, area.lastCol + 1);
    } else {
      if (!match || match(*prev)) return &*prev;
      it = prev;
    }
  }
  return nullptr;
}

// Column order has no index: one pass over the area's cells, keeping the
// nearest candidate on each side of the start.
const Cell* ByColumns(const Cells& cells, const Area& area, int32_t row, int32_t col,
                      bool forward, const CellMatch& match) {
  auto key = [](const Cell& c) { return (int64_t{c.col} << 21) | c.row; };
  const int64_t start = (int64_t{col} << 21) | row;
  const Cell* after = nullptr;  // nearest past the start
  const Cell* wrap = nullptr;   // the one the search wraps round to
  for (auto it = LowerBound(cells, area.firstRow, 1); it != cells.end() && it->row <= area.lastRow; ++it) {
    if (!AreaContains(area, it->row, it->col) || (match && !match(*it))) continue;
    int64_t k = key(*it);
    if (forward) {
      if (k > start && (!after || k < key(*after))) after = &*it;
      if (k <= start && (!wrap || k < key(*wrap))) wrap = &*it;
    } else {
      if (k < start && (!after || k > key(*after))) after = &*it;
      if (k >= start && (!wrap || k > key(*wrap))) wrap = &*it;
    }
  }
  return after ? after : wrap;
}

}  // namespace

const Cell* FindInArea(const reader::Sheet& sheet, const Area& area, int32_t row, int32_t col,
                       SearchOrder order, bool forward, const CellMatch& match) {
  const Cells& cells = sheet.cells;
  if (order == SearchOrder::ByColumns) return ByColumns(cells, area, row, col, forward, match);
  if (forward) {
    const Cell* c = nullptr;
    if (col < area.lastCol) c = ForwardRows(cells, area, row, col + 1, area.lastRow, area.lastCol, match);
    else if (row < area.lastRow) c = ForwardRows(cells, area, row + 1, area.firstCol, area.lastRow, area.lastCol, match);
    return c ? c : ForwardRows(cells, area, area.firstRow, area.firstCol, row, col, match);
  }
  const Cell* c = nullptr;
  if (col > area.firstCol) c = BackwardRows(cells, area, row, col - 1, area.firstRow, area.firstCol, match);
  else if (row > area.firstRow) c = BackwardRows(cells, area, row - 1, area.lastCol, area.firstRow, area.firstCol, match);
  return c ? c : BackwardRows(cells, area, area.lastRow, area.lastCol, row, col, match);
}

const Cell* NextStoredCell(const reader::Sheet& sheet, const Area& area, int32_t row, int32_t col) {
  if (row < area.firstRow) { row = area.firstRow; col = area.firstCol; }
  return ForwardRows(sheet.cells, area, row, col, area.lastRow, area.lastCol, nullptr);
}

}  // namespace qx::sheets
