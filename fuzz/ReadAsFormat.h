// The body shared by the per-format targets: any bytes read as one format
// give a workbook or an error with a message, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Workbook.h"

inline int ReadAsFormat(const uint8_t* data, size_t size, qx::reader::Format format) {
  using namespace qx::reader;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Workbook book;
  std::string error;
  if (ReadWorkbook(bytes, format, &book, &error)) {
    // Exercise the queries the converter makes on whatever was read.
    for (const Sheet& sheet : book.sheets) {
      UsedRange range = GetUsedRange(sheet);
      (void)FindCell(sheet, range.firstRow, range.firstCol);
      for (const Cell& cell : sheet.cells) (void)CellDisplayText(book, cell);
    }
  } else if (error.empty()) {
    __builtin_trap();  // a failure must say why
  }
  return 0;
}
