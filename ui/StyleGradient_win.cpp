// The gradient fill of a rectangle from an entry's four corner colours.
#include "ui/StyledWindow_win.h"

namespace qx {
namespace {

TRIVERTEX Vertex(LONG x, LONG y, uint32_t colour) {
  TRIVERTEX v;
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>((colour & 0xFF) << 8);
  v.Green = static_cast<COLOR16>(((colour >> 8) & 0xFF) << 8);
  v.Blue = static_cast<COLOR16>(((colour >> 16) & 0xFF) << 8);
  v.Alpha = static_cast<COLOR16>(((colour >> 24) & 0xFF) << 8);  // as stored
  return v;
}

}  // namespace

void FillGradient(HDC dc, const RECT& rc, const GradientEntry& e) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  TRIVERTEX v[4] = {
      Vertex(rc.left, rc.top, e.topLeft), Vertex(rc.right, rc.top, e.topRight),
      Vertex(rc.left, rc.bottom, e.bottomLeft), Vertex(rc.right, rc.bottom, e.bottomRight)};
  // The alpha byte does not take part in the comparison.
  const uint32_t rgb = 0xFFFFFF;
  if ((e.topLeft & rgb) == (e.topRight & rgb) && (e.bottomLeft & rgb) == (e.bottomRight & rgb)) {
    // Top-left to bottom-right spans the rectangle.
    TRIVERTEX pair[2] = {v[0], v[3]};
    GRADIENT_RECT r = {0, 1};
    GradientFill(dc, pair, 2, &r, 1, GRADIENT_FILL_RECT_V);
    return;
  }
  GRADIENT_TRIANGLE t[2] = {{0, 1, 2}, {3, 1, 2}};
  GradientFill(dc, v, 4, t, 2, GRADIENT_FILL_TRIANGLE);
}

}  // namespace qx
