// A push button drawn in the scheme's colours: rings of gradients, rounded
// corners, focus rectangle and caption, composed off-screen.
#include "ui/StyledWindow_win.h"

namespace qx {
namespace {

constexpr COLORREF kDisabledFill = RGB(245, 244, 234);
constexpr COLORREF kGreyCaption = RGB(165, 162, 148);

RECT Ring(const RECT& client, int k) {
  RECT r = client;
  InflateRect(&r, -k, -k);
  return r;
}

void Frame(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

int RingEntry(uint32_t f) {
  if (f & kStylePressed) return kRingPressed;
  if (f & kStyleHot) return kRingHot;
  if (f & (kStyleChecked | kStyleIndeterminate)) return kRingChecked;
  if (f & (kStyleFocused | kStyleDefault)) return kRingFocused;
  return kRingNormal;
}

void RoundCorners(HDC dc, int W, int H, COLORREF face, COLORREF b1, COLORREF b2) {
  const POINT outer[] = {{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}};
  const POINT inner[] = {{2, 2}, {2, H - 3}, {W - 3, H - 3}, {W - 3, 2}};
  const POINT sides[] = {{1, 2},     {2, 1},     {W - 3, 1}, {W - 2, 2},
                         {W - 3, H - 2}, {W - 2, H - 3}, {2, H - 2}, {1, H - 3}};
  for (const POINT& p : outer) SetPixelV(dc, p.x, p.y, face);
  for (const POINT& p : inner) SetPixelV(dc, p.x, p.y, b1);
  for (const POINT& p : sides) SetPixelV(dc, p.x, p.y, b2);
}

UINT HorizontalFormat(DWORD style) {
  switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

void DrawCaption(HDC dc, HWND hwnd, RECT area, uint32_t flags) {
  char text[257] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  if (!text[0]) return;
  if (flags & kStylePressed) OffsetRect(&area, 1, 1);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, (flags & (kStyleDisabled | kStyleIndeterminate)) ? kGreyCaption : RGB(0, 0, 0));
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  UINT format = HorizontalFormat(style) | DT_WORDBREAK | DT_NOPREFIX;
  // Lines break at CR LF and wrap to the width; the block as a whole is
  // placed by the vertical alignment bits.
  RECT measured = area;
  int height = DrawTextA(dc, text, -1, &measured, format | DT_CALCRECT);
  RECT place = area;
  switch (style & BS_VCENTER) {
    case BS_TOP: break;
    case BS_BOTTOM: place.top = area.bottom - height; break;
    default: place.top = area.top + (area.bottom - area.top - height) / 2; break;
  }
  place.bottom = place.top + height;
  DrawTextA(dc, text, -1, &place, format);
  if (oldFont) SelectObject(dc, oldFont);
}

}  // namespace

void PaintPushButton(StyledWindow* w, const StyleScheme& scheme) {
  HWND hwnd = w->hwnd;
  RECT client;
  GetClientRect(hwnd, &client);
  const int W = client.right, H = client.bottom;
  if (W <= 0 || H <= 0) return;
  HDC screen = GetDC(hwnd);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, W, H);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

  const uint32_t f = w->flags;
  const bool disabled = (f & kStyleDisabled) != 0;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  FillRect(dc, &client, w->parentBrush ? w->parentBrush : GetSysColorBrush(COLOR_BTNFACE));
  Frame(dc, Ring(client, 0), face);
  const COLORREF border = disabled ? Darker(face, 0x202020) : scheme.buttonBorder;
  Frame(dc, Ring(client, 1), border);
  if (disabled)
    Fill(dc, Ring(client, 2), kDisabledFill);
  else
    FillGradient(dc, Ring(client, 2), scheme.entries[RingEntry(f)]);
  if (f & (kStylePressed | kStyleChecked | kStyleIndeterminate))
    FillGradient(dc, Ring(client, 4), scheme.entries[kFacePressed]);
  else if (!disabled)
    FillGradient(dc, Ring(client, 4), scheme.entries[kFaceNormal]);
  if (disabled)
    RoundCorners(dc, W, H, face, Darker(face, 0x151515), Darker(face, 0x111111));
  else
    RoundCorners(dc, W, H, face, scheme.buttonBorder, scheme.buttonBorder);
  if (f & kStyleFocused) {
    RECT focus = Ring(client, 3);
    DrawFocusRect(dc, &focus);
  }
  DrawCaption(dc, hwnd, Ring(client, 4), f);

  BitBlt(screen, 0, 0, W, H, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(hwnd, screen);
}

}  // namespace qx
