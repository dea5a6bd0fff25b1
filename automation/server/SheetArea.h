// A rectangle of cells and its A1 notation, as the server's callers write
// addresses: "B12", "$B$12", "A1:C3", "$A$1:$C$3" (letters in either case).
// Columns run A..XFD, rows 1..1048576; anything else is refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::sheets {

struct Area {
  int32_t firstRow;
  int32_t firstCol;
  int32_t lastRow;
  int32_t lastCol;
};

// One cell or a range of two corners (in any order: the result is the
// rectangle between them). False for anything else.
bool ParseArea(std::string_view text, Area* area);
// The smallest area holding both.
Area UnionArea(const Area& a, const Area& b);
// "$A$1" for one cell, "$A$1:$C$3" for more; the flags drop the '$'.
std::string FormatArea(const Area& area, bool rowAbsolute, bool colAbsolute);

inline int64_t AreaRows(const Area& a) { return int64_t{a.lastRow} - a.firstRow + 1; }
inline int64_t AreaCols(const Area& a) { return int64_t{a.lastCol} - a.firstCol + 1; }
inline bool AreaContains(const Area& a, int32_t row, int32_t col) {
  return row >= a.firstRow && row <= a.lastRow && col >= a.firstCol && col <= a.lastCol;
}

}  // namespace qx::sheets
