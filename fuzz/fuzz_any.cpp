// Any bytes through format detection, as a file the user picked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qx::reader;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Workbook book;
  std::string error;
  Format format = DetectFormat(bytes, "fuzz.bin");
  if (format == Format::Xls) return 0;  // fuzzed with the .xls reader, not here
  if (ReadWorkbook(bytes, format, &book, &error)) {
    for (const Sheet& sheet : book.sheets) {
      for (const Cell& cell : sheet.cells) (void)CellDisplayText(book, cell);
    }
  }
  return 0;
}
