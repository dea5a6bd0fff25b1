// Pixels copied off the screen, for tests that check what was painted.
#pragma once

#include <windows.h>

#include <vector>

namespace qx::test {

// A copy of what a window or a part of the screen shows: `w` by `h`
// pixels, the top row first; empty when nothing could be copied.
struct Shot {
  int w = 0, h = 0;
  std::vector<COLORREF> px;
  COLORREF At(int x, int y) const { return px[y * w + x]; }
};

// The window's client area as it is painted now, or the whole window,
// frame included.
Shot Capture(HWND hwnd, bool whole = false);
// What the screen shows in `area` (screen coordinates), whatever window
// lies on top there.
Shot CaptureScreen(const RECT& area);

}  // namespace qx::test
