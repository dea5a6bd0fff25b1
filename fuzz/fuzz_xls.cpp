// Fuzz target for the .xls reader: any bytes must end in a workbook or in a
// one-line error, never in a crash, a hang or an allocation beyond the
// input's size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Xls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::reader::Workbook book;
  std::string error;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (qx::reader::ReadXls(bytes, &book, &error)) {
    for (const auto& sheet : book.sheets) {
      for (size_t i = 0; i < sheet.cells.size(); ++i) {
        const auto& c = sheet.cells[i];
        if (c.row < 1 || c.row > 65536 || c.col < 1 || c.col > 256)
          __builtin_trap();
        if (i > 0) {
          const auto& p = sheet.cells[i - 1];
          if (p.row > c.row || (p.row == c.row && p.col >= c.col))
            __builtin_trap();
        }
        if ((c.type == qx::reader::CellType::Text ||
             c.type == qx::reader::CellType::Error) &&
            c.textId >= book.strings.size())
          __builtin_trap();
      }
    }
  } else if (error.empty() || error.find('\n') != std::string::npos) {
    __builtin_trap();
  }
  return 0;
}
