#include "runtime/encoding/Wide_win.h"

#include <windows.h>

#include <climits>

#include "runtime/encoding/Gbk.h"


namespace qx {
namespace {

// Win32 counts in int; a text past that is cut rather than misread.
int Count(size_t n) { return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n); }

}  // namespace

std::wstring WideFromAnsi(std::string_view ansi) {
  std::wstring out;
  if (ansi.empty()) return out;
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), Count(ansi.size()), nullptr, 0);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), Count(ansi.size()), out.data(), n);
  return out;
}

std::string AnsiFromWide(std::wstring_view wide, bool* lost, bool composed) {
  std::string out;
  BOOL defaulted = FALSE;
  if (lost) *lost = false;
  if (wide.empty()) return out;
  // Asked whether anything was lost, a near character counts: the system
  // writes "²" as "2", which in a file name names another file.
  const DWORD flags = (composed ? WC_COMPOSITECHECK : 0) | (lost ? WC_NO_BEST_FIT_CHARS : 0);
  // Sized by asking: a character may take more bytes than it had units.
  int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), Count(wide.size()), nullptr, 0, nullptr,
                              lost ? &defaulted : nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(CP_ACP, flags, wide.data(), Count(wide.size()), out.data(), n, nullptr,
                      lost ? &defaulted : nullptr);
  if (lost) *lost = defaulted != FALSE;
  return out;
}

std::string AnsiNameFromWide(std::wstring_view wide) {
  bool lost = false;
  return AnsiFromWide(wide, &lost);
}

std::wstring WideFromUtf8(std::string_view utf8) {
  std::u16string units = gbk::Utf8ToUtf16(utf8);
  return std::wstring(WideView(units));
}

std::string Utf8FromWide(std::wstring_view wide) {
  return gbk::Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace qx
