// What a spreadsheet shows of a sheet's cells: the conversion reads every
// stored cell whatever is shown, but a spreadsheet application's search by
// values looks at what its cells display, and our server stands in for one.
#pragma once

#include <cstdint>
#include <vector>

#include "reader/Workbook.h"

namespace qx::reader {

bool RowHidden(const Sheet& sheet, int32_t row);
bool ColumnHidden(const Sheet& sheet, int32_t col);
// The stored cell at (row, col) has a number format that shows its value
// as nothing (";;;").
bool ShownAsNothing(const Sheet& sheet, int32_t row, int32_t col);

namespace detail {

// Adds rows or columns [first, last] (clamped to 1..limit) as a reader
// meets them; FinishVisibility puts the spans in order.
void AddSpan(std::vector<Span>* spans, int64_t first, int64_t last, int32_t limit);
// Sorts and merges the spans and sorts blankShown.
void FinishVisibility(Sheet* sheet);

}  // namespace detail
}  // namespace qx::reader
