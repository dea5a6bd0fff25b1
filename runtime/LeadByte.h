// How text in the program's code page (936, GBK) is stepped through, one
// character at a time. Every scan that looks for a byte below 0x80 (a
// backslash, a dot, a separator, a search text) steps by this rule, so that
// the second byte of a two-byte character is never taken for one.
#pragma once

#include <cstddef>
#include <string_view>

namespace qx {

// 0x81..0xFE begin a character of two bytes. 0x80 (the euro sign) is a
// character of its own, as is every byte below it; 0xFF begins nothing.
constexpr unsigned char kFirstLeadByte = 0x81;
constexpr unsigned char kLastLeadByte = 0xFE;

constexpr bool IsLeadByte(unsigned char c) { return c >= kFirstLeadByte && c <= kLastLeadByte; }

// The bytes of the character at text[i]: 2 for a lead byte that has a byte
// after it, 1 otherwise (a lead byte at the very end stands alone).
constexpr size_t CharacterBytes(std::string_view text, size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Where the last character equal to the single byte c (below 0x80) starts,
// or npos.
constexpr size_t LastCharacterAt(std::string_view text, char c) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); i += CharacterBytes(text, i))
    if (text[i] == c) found = i;
  return found;
}

}  // namespace qx
