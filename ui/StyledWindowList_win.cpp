// Taking windows over and letting them go: the records, newest first, and
// the kinds decided from class and style.
#include "ui/StyledWindow_win.h"

#include <cstring>

namespace qx {
namespace {

StyledWindow* g_first = nullptr;

bool ClassIs(HWND hwnd, const char* name) {
  char cls[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

int32_t ButtonKindOf(HWND hwnd, DWORD style) {
  const bool pushLike = (style & BS_PUSHLIKE) != 0;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      // A picture button keeps the system's drawing: the painter draws
      // captions only.
      if (style & (BS_BITMAP | BS_ICON)) return kStyleNotTaken;
      if (style == 0x40010000 && GetWindowTextLengthA(hwnd) == 0) return kStyleNotTaken;
      return kStylePushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return pushLike ? kStylePushButton : kStyleCheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return pushLike ? kStylePushButton : kStyleRadioButton;
    case BS_GROUPBOX:
      return kStyleGroupBox;
    default:  // owner-drawn and the rest
      return kStyleNotTaken;
  }
}

void Unlink(StyledWindow* w) {
  for (StyledWindow** p = &g_first; *p; p = &(*p)->next)
    if (*p == w) {
      *p = w->next;
      return;
    }
}

// The flags a window starts with when it is taken over.
uint32_t InitialFlags(HWND hwnd, int32_t kind) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  uint32_t flags = 0;
  if (style & WS_DISABLED) flags |= kStyleDisabled;
  if (GetFocus() == hwnd) flags |= kStyleFocused;
  if (kind == kStylePushButton) {
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) flags |= kStyleDefault;
    LRESULT check = SendMessageA(hwnd, BM_GETCHECK, 0, 0);
    if (check == BST_CHECKED) flags |= kStyleChecked;
    if (check == BST_INDETERMINATE) flags |= kStyleIndeterminate;
  }
  if (kind == kStyleEditBox && (style & ES_READONLY)) flags |= kStyleReadOnly;
  return flags;
}

}  // namespace

int32_t ClassifyStyleKind(HWND hwnd) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  if (ClassIs(hwnd, "Button")) return ButtonKindOf(hwnd, style);
  if (ClassIs(hwnd, "Edit")) {
    HWND parent = GetParent(hwnd);
    return parent && ClassIs(parent, "SysIPAddress32") ? kStyleNotTaken : kStyleEditBox;
  }
  if (ClassIs(hwnd, "ComboBox"))
    return (style & 3) == CBS_SIMPLE ? kStyleNotTaken : kStyleComboBox;
  if (ClassIs(hwnd, "msctls_updown32")) return kStyleUpDown;
  if (ClassIs(hwnd, "ComboLBox")) return kStyleComboList;
  return kStyleNotTaken;
}

bool StyleDrawsKind(int32_t kind) { return kind == kStylePushButton || kind == kStyleEditBox; }

StyledWindow* FirstStyledWindow() { return g_first; }

StyledWindow* FindStyledWindow(HWND hwnd) {
  for (StyledWindow* w = g_first; w; w = w->next)
    if (w->hwnd == hwnd) return w;
  return nullptr;
}

void RedrawStyledWindow(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

bool TakeOverWindow(HWND hwnd) {
  StyledWindow* w = FindStyledWindow(hwnd);
  if (w && !w->released) return false;
  int32_t kind = ClassifyStyleKind(hwnd);
  if (!StyleDrawsKind(kind)) return false;
  if (w) {
    // Still in the window's chain of procedures: it only starts drawing
    // again.
    w->released = false;
    w->flags = InitialFlags(hwnd, kind);
  } else {
    w = new StyledWindow{g_first, hwnd, kind, InitialFlags(hwnd, kind), nullptr, 0, 0, nullptr,
                         false};
    w->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StyleWindowProc)));
    g_first = w;
  }
  RedrawStyledWindow(hwnd);
  return true;
}

void LetWindowGo(HWND hwnd, bool redraw) {
  StyledWindow* w = FindStyledWindow(hwnd);
  if (!w || w->released) return;
  // Putting our predecessor back while another procedure sits on top of
  // ours would cut that one out of the chain (a control kind's own
  // subclass, installed after the hook took the window over, would never
  // see the window end): then ours stays and only passes messages on.
  LONG_PTR current = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (current == reinterpret_cast<LONG_PTR>(StyleWindowProc)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w->previous));
    Unlink(w);
    delete w;
  } else {
    w->released = true;
  }
  if (redraw) RedrawStyledWindow(hwnd);
}

void ForgetStyledWindow(StyledWindow* w) {
  Unlink(w);
  delete w;
}

}  // namespace qx
