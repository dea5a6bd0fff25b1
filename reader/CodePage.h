// Byte strings of the workbooks saved before text was kept as UTF-16: the
// code page their CODEPAGE record names, to UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::reader {

// The code pages read here: 936 (GBK, a Chinese workbook's), 1252 (what
// western writers and gnumeric outside a Chinese locale use, and what a
// file without CODEPAGE means) under both of its numbers, and 367 (ASCII).
bool IsKnownCodePage(uint16_t codePage);

// Replaces *utf8 with the bytes decoded; a byte the code page does not
// define becomes U+FFFD. codePage must be known.
void DecodeCodePage(uint16_t codePage, std::string_view bytes, std::string* utf8);

}  // namespace qx::reader
