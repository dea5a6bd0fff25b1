#include "ui/EditWordBreak_win.h"

#include <usp10.h>

#include <algorithm>
#include <vector>

#include "ui/RowPrefixBreak.h"

namespace qx {
namespace {

// The procedure is handed positions in the box's own count: characters in
// Wine's edit box, bytes in an ANSI box that keeps its text in a double-byte
// code page (an ANSI procedure is given a TCHAR count). So the first box is
// asked how long it finds one two-byte character.
bool g_positionsAreCharacters = true;

bool BoxCountsCharacters(HWND box) {
  CPINFO cp = {};
  if (!GetCPInfo(CP_ACP, &cp) || cp.MaxCharSize < 2 || !cp.LeadByte[0]) return true;
  // A lead byte and a second byte that every double-byte code page takes.
  const char pair[3] = {static_cast<char>(cp.LeadByte[0]), static_cast<char>(0xA1), 0};
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pair));
  SendMessageA(box, EM_SETSEL, 0, -1);
  DWORD end = 0;
  SendMessageA(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  return end == 1;
}

bool IsLead(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

int CharactersBefore(const char* text, int count, int bytes) {
  int chars = 0;
  for (int i = 0; i < bytes && i < count; ++chars) i += IsLead(text[i]) ? 2 : 1;
  return chars;
}

int BytesBefore(const char* text, int count, int chars) {
  int i = 0;
  for (int c = 0; c < chars && i < count; ++c) i += IsLead(text[i]) ? 2 : 1;
  return std::min(i, count);
}

int CALLBACK Procedure(LPSTR text, int index, int count, int action) {
  return RowPrefixWordBreak(text, index, count, action, g_positionsAreCharacters);
}

}  // namespace

void UseRowPrefixBreaks(HWND box) {
  static bool counted = false;
  if (!counted) {
    g_positionsAreCharacters = BoxCountsCharacters(box);
    counted = true;
  }
  SendMessageA(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&Procedure));
}

int RowPrefixWordBreak(const char* text, int index, int count, int action,
                       bool positionsAreCharacters) {
  if (!text || count <= 0) return 0;
  // One line's worth at a time: the buffers are kept between calls.
  static std::vector<WCHAR> chars;
  static std::vector<SCRIPT_LOGATTR> attrs;
  int n = MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
  if (n <= 0) return 0;
  chars.resize(n);
  attrs.resize(n);
  MultiByteToWideChar(CP_ACP, 0, text, count, chars.data(), n);
  SCRIPT_ANALYSIS analysis = {};
  analysis.eScript = SCRIPT_UNDEFINED;
  if (FAILED(ScriptBreak(chars.data(), n, &analysis, attrs.data())))
    std::fill(attrs.begin(), attrs.end(), SCRIPT_LOGATTR{});
  auto space = [&](int i) { return chars[i] == ' ' || chars[i] == '\t'; };
  auto breaksBefore = [&](int i) {
    return attrs[i].fSoftBreak || (i > 0 && space(i - 1) && !space(i)) ||
           BreaksAfterRowPrefix(chars.data(), static_cast<size_t>(n), static_cast<size_t>(i));
  };
  int i = positionsAreCharacters ? index : CharactersBefore(text, count, index);
  i = std::clamp(i, 0, n);
  switch (action) {
    case WB_LEFT:
      if (i > 0) --i;
      while (i > 0 && !breaksBefore(i)) --i;
      break;
    case WB_RIGHT:
      while (i < n && !breaksBefore(i)) ++i;
      break;
    case WB_ISDELIMITER:
      return i < n && attrs[i].fWhiteSpace;
    default:
      return 0;
  }
  return positionsAreCharacters ? i : BytesBefore(text, count, i);
}

}  // namespace qx
