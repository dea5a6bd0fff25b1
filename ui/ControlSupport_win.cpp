#include "ui/ControlSupport_win.h"

#include <cstring>

#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {
const char kUnitProp[] = "QxUnit";
const char kOldProcProp[] = "QxOldProc";
}  // namespace

COLORREF ResolveColour(uint32_t stored) {
  return stored == 0xFF000000u ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(stored & 0xFFFFFF);
}

HFONT CreateStoredFont(const std::string& logfont) {
  if (logfont.size() < sizeof(LOGFONTA)) return nullptr;
  LOGFONTA lf;
  memcpy(&lf, logfont.data(), sizeof lf);
  lf.lfFaceName[LF_FACESIZE - 1] = 0;  // a stored name need not be terminated
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = 0;
  lf.lfClipPrecision = 0;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = 0;
  return CreateFontIndirectA(&lf);
}

void BorderStyleBits(uint32_t border, DWORD* style, DWORD* exStyle) {
  *style &= ~WS_BORDER;
  *exStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
  switch (border) {
    case 1: *exStyle |= WS_EX_CLIENTEDGE; break;
    case 2: *exStyle |= WS_EX_DLGMODALFRAME; break;
    case 3: *exStyle |= WS_EX_STATICEDGE; break;
    case 4: *exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: *style |= WS_BORDER; break;
    default: break;
  }
}

void ApplyBorderStyle(HWND hwnd, uint32_t border) {
  DWORD style = GetWindowLongA(hwnd, GWL_STYLE);
  DWORD ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
  BorderStyleBits(border, &style, &ex);
  SetWindowLongA(hwnd, GWL_STYLE, style);
  SetWindowLongA(hwnd, GWL_EXSTYLE, ex);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void AttachUnit(HWND hwnd, UnitObject* unit) { SetPropA(hwnd, kUnitProp, unit); }

UnitObject* UnitOfWindow(HWND hwnd) {
  return hwnd ? static_cast<UnitObject*>(GetPropA(hwnd, kUnitProp)) : nullptr;
}

UnitObject* UnitOf(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (UnitObject* u = UnitOfWindow(h)) return u;
    if (h == GetDesktopWindow()) break;
  }
  return nullptr;
}

void SubclassControl(HWND hwnd, WNDPROC proc) {
  LONG_PTR old = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(old));
}

LRESULT CallOriginal(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  WNDPROC old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  LRESULT r = old ? CallWindowProcA(old, hwnd, msg, w, l) : DefWindowProcA(hwnd, msg, w, l);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kOldProcProp);
    RemovePropA(hwnd, kUnitProp);
  }
  return r;
}

void ReportUnitDestroyed(UnitObject* unit) {
  if (!unit) return;
  if (HWND h = UnitHwnd(unit)) RemovePropA(h, kUnitProp);
  UnitGone(unit);
}

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(n + 1, '\0');
  n = GetWindowTextA(hwnd, &s[0], n + 1);
  s.resize(n > 0 ? n : 0);
  return s;
}

}  // namespace qx
