// The window's keyboard handling, before the focused control sees a key:
// the window's accelerators first, then Tab, Enter, Esc, F1 and the arrow
// keys, each unless the focused control keeps the key for itself.
#include <vector>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/HelpFile.h"
#include "ui/Menus_win.h"
#include "ui/WindowPlatform_win.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {

bool WindowEscCloses(UnitObject* window);
bool WindowEnterMovesFocus(UnitObject* window);
bool WindowF1Help(UnitObject* window, std::string* file, uint32_t* context);
bool IsDefaultButton(UnitObject* unit);

namespace {

// The next (or previous) visible, enabled tab stop among the siblings of
// the focused control, in stacking order, wrapping round.
HWND NextTabStop(HWND window, HWND from, bool backwards) {
  std::vector<HWND> stops;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED))
      stops.push_back(c);
  }
  if (stops.empty()) return nullptr;
  size_t at = stops.size();
  for (size_t i = 0; i < stops.size(); ++i)
    if (stops[i] == from || IsChild(stops[i], from)) at = i;
  if (at == stops.size()) return backwards ? stops.back() : stops.front();
  return backwards ? stops[(at + stops.size() - 1) % stops.size()] : stops[(at + 1) % stops.size()];
}

// The unit's window, walking up from an inner window of a control.
HWND UnitWindowOf(HWND h, HWND top) {
  while (h && GetAncestor(h, GA_PARENT) != top && h != top) h = GetAncestor(h, GA_PARENT);
  return h;
}

bool IsArrow(WPARAM key) {
  return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
}

// Whether the focused control keeps the key: its kind says so, or, for the
// arrow keys, the system control under it moves its caret or selection
// with them (an edit box would lose its caret keys to the focus otherwise).
bool KeptByControl(UnitObject* focused, HWND focusWindow, HWND keyWindow, WPARAM key) {
  WantsKeyFn wants = OperationsOf(focused ? focused->kind : nullptr).wantsKey;
  if (wants && wants(focused, static_cast<uint32_t>(key))) return true;
  if (!IsArrow(key) || !focusWindow) return false;
  LRESULT code = SendMessageA(keyWindow, WM_GETDLGCODE, key, 0);
  return code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

// With WinHelpA, at the help context when the window has one.
void OpenHelp(HWND top, const std::string& stored, uint32_t context) {
  std::string file = HelpFileOf(stored, g_runtime.programFolder, g_runtime.programName);
  WindowPlatform().winHelp(top, file.c_str(), context ? HELP_CONTEXT : HELP_FINDER, context);
}

}  // namespace

bool PreTranslateWindowMessage(MSG* m) {
  if (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN) return false;
  HWND top = GetAncestor(m->hwnd, GA_ROOT);
  UnitObject* window = UnitOfWindow(top);
  if (!window || window->kind != WindowKind()) return false;
  if (HACCEL keys = WindowAccelerators(window))
    if (TranslateAcceleratorA(top, keys, m)) return true;
  if (m->message != WM_KEYDOWN) return false;
  WPARAM key = m->wParam;
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_F1 && !IsArrow(key))
    return false;
  HWND focusWindow = UnitWindowOf(m->hwnd, top);
  UnitObject* focused = focusWindow && focusWindow != top ? UnitOfWindow(focusWindow) : nullptr;
  if (focused && KeptByControl(focused, focusWindow, m->hwnd, key)) return false;
  switch (key) {
    case VK_TAB: {
      HWND next = NextTabStop(top, m->hwnd, GetKeyState(VK_SHIFT) < 0);
      if (next) SetFocus(next);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      // Through the controls as Tab goes, in record order.
      HWND next = NextTabStop(top, m->hwnd, key == VK_LEFT || key == VK_UP);
      if (next) SetFocus(next);
      return true;
    }
    case VK_RETURN: {
      if (focused && IsDefaultButton(focused) && IsWindowEnabled(focusWindow)) {
        RaiseSimpleEvent(focused->windowId, focused->unitId, kEventClicked);
        return true;
      }
      if (WindowEnterMovesFocus(window)) {
        if (HWND next = NextTabStop(top, m->hwnd, false)) SetFocus(next);
        return true;
      }
      WindowTemplate* t = FindWindowTemplate(window->windowId);
      for (size_t i = 1; t && i < t->records.size(); ++i) {
        UnitObject* u = LiveUnit(t->records[i]);
        if (u && IsDefaultButton(u) && IsWindowEnabled(UnitHwnd(u))) {
          RaiseSimpleEvent(u->windowId, u->unitId, kEventClicked);
          break;
        }
      }
      return true;
    }
    case VK_ESCAPE:
      if (!WindowEscCloses(window)) return false;
      PostMessageA(top, WM_CLOSE, 0, 0);
      return true;
    case VK_F1: {
      std::string stored;
      uint32_t context = 0;
      if (!WindowF1Help(window, &stored, &context)) return false;
      OpenHelp(top, stored, context);
      return true;
    }
  }
  return false;
}

}  // namespace qx
