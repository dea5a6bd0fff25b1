// .csv: comma-separated text, UTF-8 (with or without BOM) or GBK.
#pragma once

#include <string>
#include <string_view>

#include "reader/Workbook.h"

namespace qx::reader {

// One sheet named sheetName. Every non-empty field becomes a Text cell
// exactly as written: the converter shows the text, so nothing is guessed.
bool ReadCsv(std::string_view bytes, std::string_view sheetName, Workbook* out,
             std::string* error);

}  // namespace qx::reader
