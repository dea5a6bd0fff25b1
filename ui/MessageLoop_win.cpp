// The message loop: idle work while the queue is empty, then one message
// at a time through the window keyboard handling and the usual dispatch.
#include <vector>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {

bool WindowEscCloses(UnitObject* window);
bool WindowEnterMovesFocus(UnitObject* window);
bool IsDefaultButton(UnitObject* unit);

namespace {

struct IdleCallback {
  HWND window;
  IdleRoutine routine;
  intptr_t argument;
};
std::vector<IdleCallback> g_idleCallbacks;

struct IdlePeriod {
  DWORD start = 0;
  std::vector<uint32_t> done;  // windows that want no more idle time
};
IdlePeriod g_idle;

// Answers whether more idle work is due (idle count n).
bool IdleStep(int n) {
  if (n == 0) {
    g_idle.start = GetTickCount();
    g_idle.done.clear();
  }
  if (n <= 1) return true;
  bool more = false;
  for (WindowTemplate& w : WindowTemplates()) {
    bool done = false;
    for (uint32_t id : g_idle.done) done |= id == w.id;
    // Only a window that is there gets idle time: a handler of a closed
    // window would work on controls that do not exist.
    if (done || !WindowIsAlive(w)) continue;
    EventRecord e = {w.id, 0, kEventIdle, 1, {GetTickCount() - g_idle.start}, 0, 0};
    if (RaiseEvent(&e) && e.hasResult && e.result != 0)
      more = true;
    else
      g_idle.done.push_back(w.id);
  }
  return more;
}

void RunIdleCallbacks() {
  for (size_t i = g_idleCallbacks.size(); i-- > 0;) {
    if (i >= g_idleCallbacks.size()) continue;
    IdleCallback c = g_idleCallbacks[i];
    if (IsWindow(c.window))
      c.routine(c.argument);
    else
      g_idleCallbacks.erase(g_idleCallbacks.begin() + i);
  }
}

bool IdleDueAfter(const MSG& m) {
  return m.message != WM_PAINT && m.message != WM_TIMER && m.message != 0x0118;
}

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

}  // namespace

bool AddIdleCallback(HWND window, IdleRoutine routine, intptr_t argument) {
  if (!IsWindow(window)) return false;
  for (const IdleCallback& c : g_idleCallbacks)
    if (c.window == window) return false;
  g_idleCallbacks.push_back({window, routine, argument});
  return true;
}

void RemoveIdleCallback(HWND window) {
  for (size_t i = 0; i < g_idleCallbacks.size(); ++i)
    if (g_idleCallbacks[i].window == window) g_idleCallbacks.erase(g_idleCallbacks.begin() + i--);
}

void ClearIdleCallbacks() {
  g_idleCallbacks.clear();
  g_idle = {};
}

bool PreTranslateWindowMessage(MSG* m) {
  if (m->message != WM_KEYDOWN) return false;
  WPARAM key = m->wParam;
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
  HWND top = GetAncestor(m->hwnd, GA_ROOT);
  UnitObject* window = UnitOfWindow(top);
  if (!window || window->kind != WindowKind()) return false;
  HWND focusWindow = UnitWindowOf(m->hwnd, top);
  UnitObject* focused = focusWindow && focusWindow != top ? UnitOfWindow(focusWindow) : nullptr;
  if (focused) {
    WantsKeyFn wants = OperationsOf(focused->kind).wantsKey;
    if (wants && wants(focused, static_cast<uint32_t>(key))) return false;
  }
  switch (key) {
    case VK_TAB: {
      HWND next = NextTabStop(top, m->hwnd, GetKeyState(VK_SHIFT) < 0);
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
  }
  return false;
}

int RunMainMessageLoop() {
  bool idle = true;
  int idleCount = 0;
  MSG m;
  for (;;) {
    while (idle && !PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      RunIdleCallbacks();
      if (!IdleStep(idleCount++)) idle = false;
    }
    do {
      if (GetMessageA(&m, nullptr, 0, 0) <= 0) return static_cast<int>(m.wParam);
      if (!PreTranslateWindowMessage(&m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
      if (IdleDueAfter(m)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  }
}

void ProcessWaitingMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
    if (m.message == WM_QUIT) return;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) return;
    if (!PreTranslateWindowMessage(&m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
}

}  // namespace qx
