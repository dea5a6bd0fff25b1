// Whether a cell's number format shows its number as a date or time.
#pragma once

#include <string_view>

namespace qx::reader {

// builtinId: the built-in format number (14-22, 45-47 and the East Asian
// 27-36, 50-58 are dates); code: the format code for custom formats (ids 164
// and up, or any id with an explicit code). True when the code has a date or
// time token (y m d h s, or the East Asian e / g / b codes) outside quoted
// text, escapes, bracketed sections and colour names.
bool IsDateFormat(int builtinId, std::string_view code);

}  // namespace qx::reader
