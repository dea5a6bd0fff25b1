// A picture of a window as the screen shows it, for the README.
#include <cstdio>
#include <vector>

#include "Capture_win.h"
#include "Driver.h"

namespace qx::driver {

bool SavePicture(HWND window, const char* path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const test::Shot s = test::CaptureScreen(r);
  if (s.w <= 0 || s.h <= 0) return false;
  // 24-bit rows, bottom-up, each padded to four bytes, as a BMP file stores them.
  const DWORD stride = (s.w * 3 + 3) & ~3u, size = stride * s.h;
  std::vector<BYTE> rows(size);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      BYTE* p = &rows[(s.h - 1 - y) * stride + 3 * x];
      const COLORREF c = s.At(x, y);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  BITMAPINFOHEADER bh = {};
  bh.biSize = sizeof bh;
  bh.biWidth = s.w;
  bh.biHeight = s.h;
  bh.biPlanes = 1;
  bh.biBitCount = 24;
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;  // "BM"
  fh.bfOffBits = sizeof fh + sizeof bh;
  fh.bfSize = fh.bfOffBits + size;
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bh, sizeof bh, 1, f) == 1 &&
            fwrite(rows.data(), size, 1, f) == 1;
  return fclose(f) == 0 && ok;
}

}  // namespace qx::driver
