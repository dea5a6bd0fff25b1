// .xlsx: SpreadsheetML parts inside a ZIP package.
#pragma once

#include <string>
#include <string_view>

#include "reader/Workbook.h"

namespace qx::reader {

bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error);

}  // namespace qx::reader
