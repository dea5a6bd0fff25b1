// Windows loaded modally: while one runs, the program's other top-level
// windows take no input, and the message loop runs in modal mode for it
// until it ends.
#include <vector>

#include "runtime/RuntimeState.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

struct ModalRun {
  uint32_t windowId;
  HWND window;
  HWND previousActive;
  std::vector<HWND> disabled;  // by this run, to be enabled at its end
};
std::vector<ModalRun> g_runs;  // the innermost last

BOOL CALLBACK DisableOne(HWND h, LPARAM lp) {
  ModalRun* run = reinterpret_cast<ModalRun*>(lp);
  // Shown ones only: a hidden window takes no input anyway, and the hidden
  // owner is left as it is.
  if (h != run->window && IsWindowVisible(h) && IsWindowEnabled(h)) {
    EnableWindow(h, FALSE);
    run->disabled.push_back(h);
  }
  return TRUE;
}

}  // namespace

void BeginModalRun(WindowTemplate* w, HWND hwnd, HWND previousActive) {
  w->modal = true;
  g_runs.push_back({w->id, hwnd, previousActive, {}});
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&g_runs.back()));
}

void EndModalRun(uint32_t windowId) {
  for (size_t i = g_runs.size(); i-- > 0;) {
    if (g_runs[i].windowId != windowId) continue;
    ModalRun run = std::move(g_runs[i]);
    g_runs.erase(g_runs.begin() + i);
    for (HWND h : run.disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    if (g_runtime.modalWindow == windowId) g_runtime.modalWindow = 0;
    // The activation goes back where it was, unless the user has moved it
    // to another window meanwhile.
    HWND back = run.previousActive, active = GetActiveWindow();
    if (back && IsWindow(back) && IsWindowEnabled(back) && IsWindowVisible(back) &&
        (!active || active == run.window))
      SetActiveWindow(back);
    return;
  }
}

void RunModal(WindowTemplate* w) {
  const uint32_t outer = g_runtime.modalWindow;
  g_runtime.modalWindow = w->id;
  RunMessageLoop(LoopMode::kModal);
  // An inner run ends first; the outer one goes on while its window does.
  WindowTemplate* o = outer ? FindWindowTemplate(outer) : nullptr;
  g_runtime.modalWindow = o && o->modal && WindowIsAlive(*o) ? outer : 0;
}

}  // namespace qx
