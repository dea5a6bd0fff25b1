// The style's window procedure: asks the kind's handler what to do with a
// message and does it, in a fixed order, around the previous procedure.
#include "ui/StyledWindow_win.h"

namespace qx {
namespace {

int32_t g_scheme = 0;

uint32_t KindMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM lp) {
  return w->kind == kStyleEditBox ? EditBoxMessage(w, msg, wp, lp)
                                  : PushButtonMessage(w, msg, wp, lp);
}

// The parent decides the control's background: ask it as the system's
// button would, and keep its answer for the painter.
void CaptureParentColours(StyledWindow* w, HDC dc) {
  HWND parent = GetParent(w->hwnd);
  if (!parent) return;
  HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(
      parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w->hwnd)));
  w->parentBrush = brush;
  LOGBRUSH lb = {};
  if (brush && GetObjectA(brush, sizeof lb, &lb)) w->parentColour = lb.lbColor;
  w->textColour = GetTextColor(dc);
}

void Paint(StyledWindow* w) {
  const StyleScheme* scheme = FindStyleScheme(g_scheme);
  if (!scheme) return;
  if (w->kind == kStyleEditBox)
    PaintEditFrame(w, *scheme);
  else
    PaintPushButton(w, *scheme);
}

}  // namespace

int32_t CurrentStyleScheme() { return g_scheme; }
void SetCurrentStyleScheme(int32_t scheme) { g_scheme = scheme; }

LRESULT CALLBACK StyleWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  StyledWindow* w = FindStyledWindow(hwnd);
  if (!w) return 0;
  WNDPROC previous = w->previous;
  if (w->released) {
    if (msg == WM_NCDESTROY) ForgetStyledWindow(w);
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
  }
  if (msg == WM_DESTROY) {
    LRESULT r = CallWindowProcA(previous, hwnd, msg, wp, lp);
    LetWindowGo(hwnd, false);
    return r;
  }
  if ((w->kind == kStyleEditBox && msg == EM_SETREADONLY) ||
      (w->kind == kStyleUpDown && msg == WM_LBUTTONDOWN))
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
  if (msg == WM_ERASEBKGND) CaptureParentColours(w, reinterpret_cast<HDC>(wp));

  uint32_t action = KindMessage(w, msg, wp, lp);
  if (action & kActCommonState) {
    action |= CommonStateMessage(w, msg, wp, lp);
    // The common handler may ask for the previous procedure after the
    // painting; it must still see the message only once.
    if (action & kActPreviousAfter) action &= ~kActPrevious;
  }
  LRESULT result = 0;
  if (action & kActPrevious) result = CallWindowProcA(previous, hwnd, msg, wp, lp);
  if (action & kActDefault) result = DefWindowProcA(hwnd, msg, wp, lp);
  // A procedure may have destroyed the window or removed the style.
  if (action & kActPaint) {
    StyledWindow* still = FindStyledWindow(hwnd);
    if (still && !still->released && IsWindow(hwnd)) Paint(still);
  }
  if (action & kActPreviousAfter) result = CallWindowProcA(previous, hwnd, msg, wp, lp);
  if (action & kActDefaultAfter) result = DefWindowProcA(hwnd, msg, wp, lp);
  return (action & kActOwnResult) ? static_cast<LRESULT>(action & 0xFFFF) : result;
}

}  // namespace qx
