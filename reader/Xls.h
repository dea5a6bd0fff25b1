// .xls: BIFF8 workbook streams inside a compound file.
#pragma once

#include <string>
#include <string_view>

#include "reader/Workbook.h"

namespace qx::reader {

bool ReadXls(std::string_view bytes, Workbook* out, std::string* error);

}  // namespace qx::reader
