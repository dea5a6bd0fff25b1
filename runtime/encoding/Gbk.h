// The portable half of the encoding module: the program's text (GBK, code
// page 936) <-> UTF-8 <-> UTF-16, by our own table, so that it gives the
// same bytes in the native build as in the win32 build, and links nothing.
// Wide_win.h is the Win32 half.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The program's code page: every narrow literal and text of the program is
// GBK (the build compiles its literals to it).
constexpr uint16_t kProgramCodePage = 936;

}  // namespace qx

namespace qx::gbk {

// UTF-8 to GBK, as WideCharToMultiByte writes code page 936: a character
// GBK cannot hold becomes the near one the system writes for it ("²" as
// "2"), or '?', its default character, as does malformed UTF-8. Returns
// false when the text does not read back the same: any such substitution.
bool FromUtf8(std::string_view utf8, std::string* gbk);
// The same for the text before the first NUL character, where a string
// handed through the platform's conversion ends.
bool FromUtf8UpToNul(std::string_view utf8, std::string* gbk);

// GBK to UTF-8. A byte pair that is no GBK character becomes U+FFFD.
std::string ToUtf8(std::string_view gbk);

// UTF-16 code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same into *out, allocated once at its exact size (a workbook's texts
// are tens of thousands of these).
void Utf16ToUtf8(const char16_t* units, size_t count, std::string* out);

// UTF-8 to UTF-16 (malformed sequences become U+FFFD).
std::u16string Utf8ToUtf16(std::string_view utf8);

// Appends one code point as UTF-8.
void AppendUtf8(char32_t cp, std::string* out);

// Writes one code point (below U+110000) as UTF-8 at out, which has room
// for four bytes; returns the end of what was written.
inline char* PutUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// True when the text is valid UTF-8 (used to tell UTF-8 CSV from GBK CSV).
bool IsValidUtf8(std::string_view bytes);

}  // namespace qx::gbk
