// The message loop, in main or modal mode: idle work while the queue is
// empty, then one message at a time through the window keyboard handling
// and the usual dispatch.
#include <vector>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {

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

int RunMessageLoop(LoopMode mode) {
  const bool modal = mode == LoopMode::kModal;
  auto modalEnded = [modal] { return modal && g_runtime.modalWindow == 0; };
  bool idle = true;
  int idleCount = 0;
  MSG m;
  for (;;) {
    while (idle && !PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      RunIdleCallbacks();
      if (!IdleStep(idleCount++)) idle = false;
      if (modalEnded()) return 0;
    }
    // Nothing else can end the run while the loop waits for a message.
    if (modalEnded()) return 0;
    do {
      if (modal && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE) && m.message == WM_QUIT) return 0;
      if (GetMessageA(&m, nullptr, 0, 0) <= 0) {
        // The quit message came after the look: it goes back for the main loop.
        if (modal) PostQuitMessage(static_cast<int>(m.wParam));
        return modal ? 0 : static_cast<int>(m.wParam);
      }
      if (!PreTranslateWindowMessage(&m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
      if (modalEnded()) return 0;
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
