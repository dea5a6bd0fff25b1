// The body shared by the per-format targets: any bytes read as one format
// give a workbook or an error with a message, never a crash. The same
// bytes read keeping bad sheets listed give the same workbook where every
// sheet could be read, and otherwise a sheet whose one-line reason is the
// whole read's error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Workbook.h"

inline void ExerciseWorkbook(const qx::reader::Workbook& book) {
  using namespace qx::reader;
  // The queries the converter makes on whatever was read.
  for (const Sheet& sheet : book.sheets) {
    UsedRange range = GetUsedRange(sheet);
    (void)FindCell(sheet, range.firstRow, range.firstCol);
    for (const Cell& cell : sheet.cells) {
      if ((cell.type == CellType::Text || cell.type == CellType::Error) &&
          cell.textId >= book.strings.size())
        __builtin_trap();
      (void)CellDisplayText(book, cell);
    }
  }
}

inline bool SameWorkbook(const qx::reader::Workbook& a, const qx::reader::Workbook& b) {
  if (a.sheets.size() != b.sheets.size() || a.strings.size() != b.strings.size()) return false;
  for (size_t i = 0; i < a.strings.size(); ++i) {
    if (a.strings[i] != b.strings[i]) return false;
  }
  for (size_t s = 0; s < a.sheets.size(); ++s) {
    const auto& x = a.sheets[s];
    const auto& y = b.sheets[s];
    if (x.name != y.name || x.failure != y.failure || x.cells.size() != y.cells.size()) return false;
    for (size_t i = 0; i < x.cells.size(); ++i) {
      const auto& c = x.cells[i];
      const auto& d = y.cells[i];
      if (c.row != d.row || c.col != d.col || c.type != d.type || c.textId != d.textId ||
          !(c.number == d.number || (c.number != c.number && d.number != d.number)))
        return false;
    }
  }
  return true;
}

inline int ReadAsFormat(const uint8_t* data, size_t size, qx::reader::Format format) {
  using namespace qx::reader;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Workbook book;
  std::string error;
  const bool whole = ReadWorkbook(bytes, format, &book, &error);
  if (whole) {
    ExerciseWorkbook(book);
  } else if (error.empty()) {
    __builtin_trap();  // a failure must say why
  }
  Workbook listed;
  std::string listedError;
  if (ReadWorkbook(bytes, format, &listed, &listedError, BadSheets::KeepListed)) {
    ExerciseWorkbook(listed);
    bool failed = false;
    for (const Sheet& sheet : listed.sheets) {
      if (sheet.failure.empty()) continue;
      if (sheet.failure.find('\n') != std::string::npos || !sheet.cells.empty()) __builtin_trap();
      if (!failed && (whole || sheet.failure != error)) __builtin_trap();
      failed = true;
    }
    if (whole ? !SameWorkbook(book, listed) : !failed) __builtin_trap();
  } else if (whole || listedError != error) {
    __builtin_trap();
  }
  return 0;
}
