// What each message means for a styled window's state, answered as action
// words: the push-button and edit-box handlers and the state all kinds
// share.
#include "ui/StyledWindow_win.h"

namespace qx {
namespace {

void SetFlag(StyledWindow* w, uint32_t flag, bool on) {
  if (on)
    w->flags |= flag;
  else
    w->flags &= ~flag;
}

}  // namespace

uint32_t PushButtonMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_PAINT:
    case WM_SETTEXT:
      // The system's drawing is never used: the default procedure only
      // validates or stores, then the painter draws.
      return kActDefault | kActPaint;
    case WM_ERASEBKGND:
      return kActPrevious;
    case BM_SETCHECK:
      SetFlag(w, kStyleChecked, wp == BST_CHECKED);
      SetFlag(w, kStyleIndeterminate, wp == BST_INDETERMINATE);
      return kActPrevious | kActPaint;
    case BM_SETSTATE:
      SetFlag(w, kStylePressed, wp != 0);
      return kActPrevious | kActPaint;
    case BM_SETSTYLE:
      SetFlag(w, kStyleDefault, (wp & BS_DEFPUSHBUTTON) != 0);
      return kActPrevious | kActPaint;
    default:
      return kActCommonState | kActPrevious;
  }
}

uint32_t EditBoxMessage(StyledWindow* w, UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
      // The box draws itself, then its frame is painted over.
      return kActPrevious | kActPaint;
    case WM_NCMOUSEMOVE:
      if (w->flags & kStyleHot) break;
      w->flags |= kStyleHot;
      return kActDefault | kActPaint;
    case WM_MOUSELEAVE:
      if (!(w->flags & kStyleHot)) break;
      w->flags &= ~kStyleHot;
      return kActDefault | kActPaint;
  }
  return kActCommonState | kActPrevious;
}

uint32_t CommonStateMessage(StyledWindow* w, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_SETFOCUS:
      w->flags |= kStyleFocused;
      return kActPrevious | kActPaint;
    case WM_KILLFOCUS:
      w->flags &= ~kStyleFocused;
      return kActPrevious | kActPaint;
    case WM_ENABLE:
      SetFlag(w, kStyleDisabled, wp == 0);
      return kActPrevious | kActPaint;
    case WM_MOUSEMOVE: {
      if ((w->flags & kStyleHot) || (wp & MK_LBUTTON)) return kActPreviousAfter;
      TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, w->hwnd, 0};
      TrackMouseEvent(&track);
      w->flags |= kStyleHot;
      return kActPrevious | kActPaint;
    }
    case WM_MOUSELEAVE:
      if (!(w->flags & kStyleHot)) return kActPreviousAfter;
      w->flags &= ~kStyleHot;
      return kActPrevious | kActPaint;
    default:
      return kActPrevious;
  }
}

}  // namespace qx
