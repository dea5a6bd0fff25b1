#include "automation/SheetReads_win.h"

#include <string>

#include "automation/ComHolders_win.h"
#include "automation/DispatchCall_win.h"
#include "automation/SpreadsheetModel.h"

namespace qx {
namespace {

// "B12" for (12, 2): the application's own address of a cell.
std::string A1(int32_t row, int32_t column) {
  std::string letters;
  for (int64_t c = column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row);
}

// The sheet's range between two corners (one reference), or null.
ComRef<IDispatch> RangeOf(IDispatch* sheet, const std::string& first, const std::string& last) {
  Arguments<2> corners{TextArgument(first), TextArgument(last)};
  return ComRef<IDispatch>(DispatchGetObject(sheet, model::kRange, corners.data(), corners.size()));
}

VARIANT DispatchArgument(IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  object->AddRef();
  return v;
}

bool Before(int32_t row, int32_t column, int32_t otherRow, int32_t otherColumn) {
  return row < otherRow || (row == otherRow && column < otherColumn);
}

}  // namespace

std::string_view RowBlock::Text(int32_t row, int32_t column) const {
  size_t i = static_cast<size_t>(row - firstRow) * columns + (column - 1);
  uint32_t begin = i == 0 ? 0 : ends[i - 1];
  return std::string_view(bytes).substr(begin, ends[i] - begin);
}

bool RowBlock::NextFilled(int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                          int32_t* foundRow, int32_t* foundColumn) const {
  if (filled == 0) return false;
  const int32_t width = lastColumn < columns ? lastColumn : columns;
  for (; Holds(row) && row <= lastRow; ++row, column = 1)
    for (; column <= width; ++column)
      if (!Text(row, column).empty()) {
        *foundRow = row;
        *foundColumn = column;
        return true;
      }
  return false;
}

bool FetchRows(IDispatch* sheet, int32_t firstRow, int32_t rows, int32_t columns, RowBlock* block) {
  *block = RowBlock();
  if (!sheet || rows < 1 || columns < 1) return false;
  ComRef<IDispatch> range = RangeOf(sheet, A1(firstRow, 1), A1(firstRow + rows - 1, columns));
  VariantHolder value;
  if (!range || !DispatchGet(range.get(), model::kValue, value.put())) return false;
  const size_t cells = static_cast<size_t>(rows) * columns;
  block->ends.reserve(cells);
  auto add = [block](const VARIANT& v) {
    std::string text = VariantToAnsi(v);
    if (!text.empty()) ++block->filled;
    block->bytes += text;
    block->ends.push_back(static_cast<uint32_t>(block->bytes.size()));
  };
  if (cells == 1 && !(V_VT(&*value) & VT_ARRAY)) {
    add(*value);  // one cell's Value is the value itself
  } else {
    if (V_VT(&*value) != (VT_ARRAY | VT_VARIANT)) return false;
    SAFEARRAY* a = V_ARRAY(&*value);
    LONG r0, r1, c0, c1;
    if (SafeArrayGetDim(a) != 2 || FAILED(SafeArrayGetLBound(a, 1, &r0)) ||
        FAILED(SafeArrayGetUBound(a, 1, &r1)) || FAILED(SafeArrayGetLBound(a, 2, &c0)) ||
        FAILED(SafeArrayGetUBound(a, 2, &c1)) || r1 - r0 + 1 != rows || c1 - c0 + 1 != columns)
      return false;
    VARIANT* data = nullptr;
    if (FAILED(SafeArrayAccessData(a, reinterpret_cast<void**>(&data)))) return false;
    // The first index runs fastest: (row, column) sits at row + column * rows.
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < columns; ++c) add(data[r + static_cast<size_t>(c) * rows]);
    SafeArrayUnaccessData(a);
  }
  block->firstRow = firstRow;
  block->rows = rows;
  block->columns = columns;
  return true;
}

bool FetchBlock(IDispatch* sheet, int32_t firstRow, int32_t lastRow, int32_t columns, RowBlock* block) {
  if (columns < 1 || columns > kBlockCells || firstRow > lastRow) {
    *block = RowBlock();
    return false;
  }
  int32_t rows = kBlockCells / columns;
  if (rows > lastRow - firstRow + 1) rows = lastRow - firstRow + 1;
  return FetchRows(sheet, firstRow, rows, columns, block);
}

SearchAnswer FindNextValue(IDispatch* sheet, int32_t lastRow, int32_t lastColumn, int32_t row,
                           int32_t column, int32_t lookIn, int32_t* foundRow, int32_t* foundColumn) {
  if (!sheet) return SearchAnswer::kNoSearch;
  ComRef<IDispatch> range = RangeOf(sheet, "A1", A1(lastRow, lastColumn));
  // The search starts after `After` and wraps round the range: after the
  // cell before (row, column), or after the last cell to start at A1.
  int32_t afterRow = row, afterColumn = column - 1;
  if (afterColumn < 1) {
    afterColumn = lastColumn;
    afterRow = row > 1 ? row - 1 : lastRow;
  }
  ComRef<IDispatch> after = RangeOf(sheet, A1(afterRow, afterColumn), A1(afterRow, afterColumn));
  if (!range || !after) return SearchAnswer::kNoSearch;
  Arguments<6> args{TextArgument("*"),        DispatchArgument(after.get()),
                    IntArgument(lookIn),       IntArgument(model::kLookAtPart),
                    IntArgument(model::kByRows), IntArgument(model::kNext)};
  VariantHolder result;
  if (!DispatchCallMethod(range.get(), model::kFind, result.put(), args.data(), args.size()))
    return SearchAnswer::kNoSearch;
  IDispatch* cell = V_VT(&*result) == VT_DISPATCH ? V_DISPATCH(&*result) : nullptr;
  if (!cell) return SearchAnswer::kNone;
  VariantHolder r, c;
  DispatchGet(cell, model::kRow, r.put());
  DispatchGet(cell, model::kColumn, c.put());
  *foundRow = VariantToInt(*r);
  *foundColumn = VariantToInt(*c);
  // An answer before the start wrapped round: nothing lies after it.
  if (*foundRow < 1 || Before(*foundRow, *foundColumn, row, column)) return SearchAnswer::kNone;
  return SearchAnswer::kFound;
}

SearchAnswer FindNextCell(IDispatch* sheet, int32_t lastRow, int32_t lastColumn, int32_t row,
                          int32_t column, int32_t* foundRow, int32_t* foundColumn) {
  int32_t r[2], c[2];
  SearchAnswer a[2];
  const int32_t lookIn[2] = {model::kLookInValues, model::kLookInFormulas};
  for (int i = 0; i < 2; ++i)
    a[i] = FindNextValue(sheet, lastRow, lastColumn, row, column, lookIn[i], &r[i], &c[i]);
  if (a[0] == SearchAnswer::kNoSearch && a[1] == SearchAnswer::kNoSearch) return SearchAnswer::kNoSearch;
  int best = -1;
  for (int i = 0; i < 2; ++i)
    if (a[i] == SearchAnswer::kFound && (best < 0 || Before(r[i], c[i], r[best], c[best]))) best = i;
  if (best < 0) return SearchAnswer::kNone;
  *foundRow = r[best];
  *foundColumn = c[best];
  return SearchAnswer::kFound;
}

namespace {

bool HoldsOrFetches(SheetWalk* w, int32_t row) {
  return w->rows.Holds(row) || FetchBlock(w->sheet, row, w->lastRow, w->lastColumn, &w->rows);
}

}  // namespace

bool NextCellToRead(SheetWalk* w, int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                    int32_t* foundRow, int32_t* foundColumn) {
  if (row < w->firstRow) {
    row = w->firstRow;
    column = 1;
  }
  while (row <= lastRow) {
    if (column > lastColumn) {
      ++row;
      column = 1;
      continue;
    }
    if (!(w->blocksWork && HoldsOrFetches(w, row))) {
      w->blocksWork = false;
      SearchAnswer a = SearchAnswer::kNoSearch;
      if (w->searchWorks) a = FindNextCell(w->sheet, w->lastRow, w->lastColumn, row, column, foundRow, foundColumn);
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
    SearchAnswer a = FindNextCell(w->sheet, w->lastRow, w->lastColumn, row, 1, foundRow, foundColumn);
    if (a == SearchAnswer::kNone) return false;
    if (a == SearchAnswer::kFound) row = *foundRow;  // the next block starts with its row
    w->searchWorks = a == SearchAnswer::kFound;
  }
  return false;
}

bool BlockText(SheetWalk* w, int32_t row, int32_t column, std::string* text) {
  if (!w->blocksWork || column > w->lastColumn || row > w->lastRow) return false;
  if (!HoldsOrFetches(w, row)) {
    w->blocksWork = false;
    return false;
  }
  text->assign(w->rows.Text(row, column));
  return true;
}

}  // namespace qx
