#include <windows.h>

#include "automation/VariantValues_win.h"
#include "runtime/Memory.h"

namespace qx {

BSTR BstrFromAnsi(const char* text) {
  if (!text) return nullptr;
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 0) return SysAllocString(L"");
  BSTR b = SysAllocStringLen(nullptr, static_cast<UINT>(n - 1));
  if (b) MultiByteToWideChar(CP_ACP, 0, text, -1, b, n);
  return b;
}

char* TextFromWide(const wchar_t* text, int32_t length) {
  if (!text || length <= 0) return nullptr;
  int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return nullptr;
  char* out = static_cast<char*>(AllocateMemory(n + 1));
  WideCharToMultiByte(CP_ACP, 0, text, length, out, n, nullptr, nullptr);
  out[n] = 0;
  return out;
}

}  // namespace qx
