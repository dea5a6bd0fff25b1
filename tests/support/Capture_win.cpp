#include "Capture_win.h"

namespace qx::test {
namespace {

// Copies w x h pixels from (x, y) of `source` through a 32-bit DIB.
Shot Copy(HDC source, int x, int y, int w, int h) {
  Shot s;
  if (w <= 0 || h <= 0) return s;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC copy = CreateCompatibleDC(source);
  HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = SelectObject(copy, dib);
    BitBlt(copy, 0, 0, w, h, source, x, y, SRCCOPY);
    GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(bits);
    s.w = w;
    s.h = h;
    s.px.reserve(static_cast<size_t>(w) * h);
    for (int i = 0; i < w * h; ++i) s.px.push_back(RGB(p[4 * i + 2], p[4 * i + 1], p[4 * i]));
    SelectObject(copy, old);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(copy);
  return s;
}

}  // namespace

Shot Capture(HWND hwnd, bool whole) {
  RECT rc;
  if (whole) {
    GetWindowRect(hwnd, &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
  } else {
    GetClientRect(hwnd, &rc);
  }
  HDC window = whole ? GetWindowDC(hwnd) : GetDC(hwnd);
  Shot s = Copy(window, 0, 0, rc.right, rc.bottom);
  ReleaseDC(hwnd, window);
  return s;
}

Shot CaptureScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  Shot s = Copy(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return s;
}

}  // namespace qx::test
