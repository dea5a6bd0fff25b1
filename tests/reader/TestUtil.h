// Shared helpers of the reader tests.
#pragma once

#include <string>
#include <string_view>

#include "runtime/encoding/Gbk.h"
#include "reader/Workbook.h"

namespace qx::test {

// The cell's display text back in UTF-8, so that expectations read as
// written; "<none>" when no cell is stored there.
inline std::string Show(const reader::Workbook& book, size_t sheet, std::string_view address) {
  int32_t row, col;
  if (!reader::ParseCellAddress(address, &row, &col)) return "<bad address>";
  const reader::Cell* c = reader::FindCell(book.sheets.at(sheet), row, col);
  if (!c) return "<none>";
  return gbk::ToUtf8(reader::CellDisplayText(book, *c));
}

inline reader::CellType TypeAt(const reader::Workbook& book, size_t sheet, std::string_view address) {
  int32_t row, col;
  reader::ParseCellAddress(address, &row, &col);
  const reader::Cell* c = reader::FindCell(book.sheets.at(sheet), row, col);
  return c ? c->type : reader::CellType::Empty;
}

}  // namespace qx::test
