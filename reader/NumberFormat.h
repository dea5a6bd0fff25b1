// What a cell's number format makes of its value: a date or time, or
// nothing at all.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::reader {

// builtinId: the built-in format number (14-22, 45-47 and the East Asian
// 27-36, 50-58 are dates); code: the format code for custom formats (ids 164
// and up, or any id with an explicit code). True when the code has a date or
// time token (y m d h s, or the East Asian e / g / b codes) outside quoted
// text, escapes, bracketed sections and colour names.
bool IsDateFormat(int builtinId, std::string_view code);

// Which kinds of value a format code shows as nothing: those whose section
// is empty (";;;" hides every number and text, "0;-0;;@" only zero). A
// code of one section, a built-in format, and one with conditions ("[>9]")
// hide nothing here.
enum HiddenValues : uint8_t {
  kHidesPositive = 1,
  kHidesNegative = 2,
  kHidesZero = 4,
  kHidesText = 8,
};
uint8_t HiddenValuesOf(std::string_view code);
// Whether a number (sign decides) or a text falls in a hidden section.
inline bool HidesNumber(uint8_t hidden, double v) {
  return (hidden & (v > 0 ? kHidesPositive : v < 0 ? kHidesNegative : kHidesZero)) != 0;
}
inline bool HidesText(uint8_t hidden) { return (hidden & kHidesText) != 0; }

}  // namespace qx::reader
