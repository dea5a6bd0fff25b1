// Reading a worksheet faster than the workbook control's cell by cell,
// through the same application: whole rows in one call of a range's
// Value, and the application's own search for the next cell that holds
// something. The conversion falls back on the control where the
// application offers neither.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Rows [firstRow, firstRow + rows) of columns 1..columns, as the ANSI text
// each cell's value coerces to.
struct RowBlock {
  int32_t firstRow = 0;
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t filled = 0;          // cells whose text is not empty
  std::string bytes;           // the texts one after another, row by row
  std::vector<uint32_t> ends;  // where each cell's text ends in `bytes`

  bool Holds(int32_t row) const { return rows > 0 && row >= firstRow && row < firstRow + rows; }
  std::string_view Text(int32_t row, int32_t column) const;
  // The first cell with text at or after (row, column) in row order, in
  // the block's rows up to lastRow and columns up to lastColumn.
  bool NextFilled(int32_t row, int32_t column, int32_t lastRow, int32_t lastColumn,
                  int32_t* foundRow, int32_t* foundColumn) const;
};

// One call of Value on the range of those rows. False, the block left
// empty, when the application gives no array of that shape.
bool FetchRows(IDispatch* sheet, int32_t firstRow, int32_t rows, int32_t columns, RowBlock* block);

// A block holds at most this many cells, so that memory follows the
// sheet's width, not its height.
constexpr int32_t kBlockCells = 65536;
// The block of whole rows from `firstRow`: as many of them, up to lastRow,
// as kBlockCells cells of `columns` columns make.
bool FetchBlock(IDispatch* sheet, int32_t firstRow, int32_t lastRow, int32_t columns, RowBlock* block);

enum class SearchAnswer { kFound, kNone, kNoSearch };

// The first cell at or after (row, column), in row order inside A1 to
// (lastRow, lastColumn), that Find("*") finds looking in `lookIn`
// (model::FindLookIn). kNone: none there; kNoSearch: no answer at all.
SearchAnswer FindNextValue(IDispatch* sheet, int32_t lastRow, int32_t lastColumn, int32_t row,
                           int32_t column, int32_t lookIn, int32_t* foundRow, int32_t* foundColumn);

// The same by values and by formulas, the earlier of the two: a search by
// values passes over hidden cells and cells shown as nothing, one by
// formulas over values that no formula of their own holds (the spilled
// results of an array formula).
SearchAnswer FindNextCell(IDispatch* sheet, int32_t lastRow, int32_t lastColumn, int32_t row,
                          int32_t column, int32_t* foundRow, int32_t* foundColumn);

// A walk through a sheet in row order, cell by cell from the caller's
// side, read in blocks of whole rows. Every cell of a block is read, so no
// search decides which cells count; the search only leaps over a whole
// block of empty rows, by values and by formulas together. Where the
// application gives no blocks the search points at the cells to read one
// by one, and without either every cell is one.
struct SheetWalk {
  IDispatch* sheet = nullptr;  // not owned
  int32_t firstRow = 1;        // of the used range: nothing is stored above it
  int32_t lastRow = 0, lastColumn = 0;
  bool blocksWork = true, searchWorks = true;
  RowBlock rows;  // the block the walk is in
};

// The next cell at or after (row, column), inside rows up to lastRow and
// columns up to lastColumn, that may hold a value; false when none does.
bool NextCellToRead(SheetWalk* walk, int32_t row, int32_t column, int32_t lastRow,
                    int32_t lastColumn, int32_t* foundRow, int32_t* foundColumn);
// The cell's text from the walk's blocks; false where the application gives
// none, and the caller reads the cell another way.
bool BlockText(SheetWalk* walk, int32_t row, int32_t column, std::string* text);

}  // namespace qx
