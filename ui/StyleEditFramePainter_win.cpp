// The frame of an edit box in the scheme's colour, painted over the
// box's own drawing.
#include "ui/StyledWindow_win.h"

namespace qx {
namespace {

void Frame(HDC dc, RECT r, int inset, COLORREF c) {
  InflateRect(&r, -inset, -inset);
  HBRUSH b = CreateSolidBrush(c);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

}  // namespace

void PaintEditFrame(StyledWindow* w, const StyleScheme& scheme) {
  HWND hwnd = w->hwnd;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
  // A box without an edge keeps the system's drawing entirely.
  if (!(style & WS_BORDER) && !(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) return;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  if (W <= 0 || H <= 0) return;
  const RECT all = {0, 0, W, H};
  HDC screen = GetWindowDC(hwnd);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, W, H);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, W, H, screen, 0, 0, SRCCOPY);

  const uint32_t f = w->flags;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  Frame(dc, all, 0, (f & kStyleDisabled) ? Darker(face, 0x202020) : scheme.editFrame);
  Frame(dc, all, 1,
        (f & (kStyleDisabled | kStyleReadOnly)) ? face : GetSysColor(COLOR_WINDOW));

  // Only the two rings go back: the box's content is its own.
  const RECT strips[] = {{0, 0, W, 2}, {0, H - 2, W, H}, {0, 2, 2, H - 2}, {W - 2, 2, W, H - 2}};
  for (const RECT& s : strips)
    BitBlt(screen, s.left, s.top, s.right - s.left, s.bottom - s.top, dc, s.left, s.top, SRCCOPY);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(hwnd, screen);
}

}  // namespace qx
