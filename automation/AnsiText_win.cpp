#include <windows.h>

#include <cstring>

#include "automation/VariantValues_win.h"
#include "runtime/Memory.h"
#include "runtime/encoding/Wide_win.h"

namespace qx {

BSTR BstrFromAnsi(const char* text) {
  if (!text) return nullptr;
  std::wstring wide = WideFromAnsi(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

char* TextFromWide(const wchar_t* text, int32_t length) {
  if (!text || length <= 0) return nullptr;
  std::string ansi = AnsiFromWide(std::wstring_view(text, static_cast<size_t>(length)));
  if (ansi.empty()) return nullptr;
  char* out = static_cast<char*>(AllocateMemory(static_cast<int32_t>(ansi.size()) + 1));
  std::memcpy(out, ansi.data(), ansi.size() + 1);
  return out;
}

}  // namespace qx
