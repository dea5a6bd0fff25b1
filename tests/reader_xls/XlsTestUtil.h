// Reading helpers shared by the .xls tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "XlsBuilder.h"
#include "reader/Workbook.h"
#include "reader/Xls.h"

namespace qx::test {

inline const char kBadPrefix[] = "不是有效的 xls 文件：";

inline qx::reader::Workbook ReadOk(const std::string& file) {
  qx::reader::Workbook book;
  std::string error;
  EXPECT_TRUE(qx::reader::ReadXls(file, &book, &error)) << error;
  return book;
}

// The error of a file that must be refused; checks that it is one line
// that says the file is no valid .xls (or, for a sound file this reader
// cannot read, what it is).
inline std::string ReadErr(const std::string& file) {
  qx::reader::Workbook book;
  std::string error;
  EXPECT_FALSE(qx::reader::ReadXls(file, &book, &error));
  EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(error.rfind(kBadPrefix, 0) == 0 ||
              error.find("受密码保护") != std::string::npos ||
              error.rfind("不支持的 xls 版本：", 0) == 0 ||
              error.rfind("不支持的 xls 代码页：", 0) == 0)
      << error;
  return error;
}

inline const qx::reader::Cell* At(const qx::reader::Sheet& sheet, int row,
                                  int col) {
  for (const auto& c : sheet.cells)
    if (c.row == row && c.col == col) return &c;
  return nullptr;
}

// The text of a text or error cell; "<none>" when there is no such cell.
inline std::string TextAt(const qx::reader::Workbook& book, size_t sheet,
                          int row, int col) {
  if (sheet >= book.sheets.size()) return "<no sheet>";
  const auto* c = At(book.sheets[sheet], row, col);
  if (!c) return "<none>";
  if (c->type != qx::reader::CellType::Text &&
      c->type != qx::reader::CellType::Error)
    return "<not text>";
  if (c->textId >= book.strings.size()) return "<bad id>";
  return std::string(book.strings[c->textId]);
}

}  // namespace qx::test
