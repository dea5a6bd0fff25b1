// .xls: BIFF5, BIFF7 and BIFF8 workbook streams inside a compound file.
#pragma once

#include <string>
#include <string_view>

#include "reader/Workbook.h"

namespace qx::reader {

// A sheet that cannot be read fails the read, unless badSheets says
// otherwise.
bool ReadXls(std::string_view bytes, Workbook* out, std::string* error);
bool ReadXls(std::string_view bytes, Workbook* out, std::string* error, BadSheets badSheets);

// True for a bare BIFF2, BIFF3 or BIFF4 worksheet file, which ReadXls
// refuses naming its version.
bool IsOldBiff(std::string_view bytes);

}  // namespace qx::reader
