// .xlsx: SpreadsheetML parts inside a ZIP package.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/Workbook.h"

namespace qx::reader {

// A sheet that cannot be read fails the read, unless badSheets says
// otherwise.
bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error);
bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error, BadSheets badSheets);

// The same with the sheet and shared-string parts read through a window of
// `window` bytes as they inflate. The result does not depend on it; tests
// make the window tiny so that every token is cut somewhere.
bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error, size_t window,
              BadSheets badSheets = BadSheets::FailTheRead);

}  // namespace qx::reader
