// The program's texts as the UTF-16 that Win32's wide functions and COM
// take, and back: the Win32 half of the encoding module (Gbk.h is the
// portable half).
//
// One rule for every conversion between the program's bytes and UTF-16 on
// Windows: the system ANSI code page (CP_ACP). Every byte text the program
// holds was given to it by, or is handed on to, an "A" function (window
// texts, file names, dialogs), and those read bytes in that code page; a
// conversion by any other code page would make the spreadsheet see another
// text than the window shows, or open another file than CreateFileA would.
// On the machines the program is for, and under the tests' Wine, that code
// page is kProgramCodePage (936, GBK), the one the program's literals are
// compiled to and the portable half implements.
#pragma once

#include <string>
#include <string_view>

namespace qx {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32's wide characters are UTF-16 units");

// The portable code's UTF-16 as the wide functions spell it.
inline std::wstring_view WideView(std::u16string_view units) {
  return {reinterpret_cast<const wchar_t*>(units.data()), units.size()};
}

// Bytes the code page has no character for become its default character.
std::wstring WideFromAnsi(std::string_view ansi);

// Characters the code page cannot hold become the near one the system
// writes for them, or '?'. *lost, when given, says whether the text does
// not read back the same; then none is written as a near one, only '?'.
// composed: combining sequences are first put together into the
// precomposed characters the code page has (text from programs that write
// decomposed Unicode, such as web pages).
std::string AnsiFromWide(std::wstring_view wide, bool* lost = nullptr, bool composed = false);
// A file name in the program's bytes: a character GBK lacks becomes '?',
// which no file name holds, never a near one, which may be another file's.
std::string AnsiNameFromWide(std::wstring_view wide);

// UTF-8 <-> UTF-16 for the wide functions, by the portable half.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace qx
