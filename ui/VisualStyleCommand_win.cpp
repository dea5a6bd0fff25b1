// ApplyVisualStyle: takes over the thread's windows, and through a hook on
// the thread every window created later, or lets them all go.
#include <vector>

#include "ui/StyledWindow_win.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (m->message == WM_CREATE) TakeOverWindow(m->hwnd);
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

BOOL CALLBACK TakeOverChild(HWND hwnd, LPARAM) {
  TakeOverWindow(hwnd);
  return TRUE;
}

BOOL CALLBACK TakeOverTree(HWND hwnd, LPARAM) {
  TakeOverWindow(hwnd);
  EnumChildWindows(hwnd, TakeOverChild, 0);  // all descendants
  return TRUE;
}

}  // namespace

bool RemoveVisualStyle() {
  std::vector<HWND> windows;
  for (StyledWindow* w = FirstStyledWindow(); w; w = w->next)
    if (!w->released) windows.push_back(w->hwnd);
  for (HWND h : windows) LetWindowGo(h);
  if (!g_hook) return false;
  bool removed = UnhookWindowsHookEx(g_hook) != 0;
  g_hook = nullptr;
  return removed;
}

void ApplyVisualStyle(TaggedValue* result, int32_t count, TaggedValue* args) {
  int32_t scheme = ArgInt(count, args, 0, 0);
  bool removed = RemoveVisualStyle();
  SetCurrentStyleScheme(FindStyleScheme(scheme) ? scheme : 0);
  if (!FindStyleScheme(scheme)) {
    *result = MakeBool(removed);
    return;
  }
  const DWORD thread = GetCurrentThreadId();
  EnumThreadWindows(thread, TakeOverTree, 0);
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, CreationHook, nullptr, thread);
  *result = MakeBool(true);
}

}  // namespace qx
