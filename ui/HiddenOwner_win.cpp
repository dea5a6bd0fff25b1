// The hidden owner window: it keeps owned windows out of the task bar and
// receives the end request of other threads, which the main thread turns
// into EndProgram.
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeState.h"
#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {

const char kClass[] = "_QX_HideOwner";
HWND g_owner = nullptr;
DWORD g_mainThread = 0;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kEndRequestMessage) EndProgram(static_cast<int32_t>(wp));
  if (msg == WM_DESTROY && hwnd == g_owner) g_owner = nullptr;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void CreateHiddenOwner() {
  WNDCLASSA existing;
  if (!GetClassInfoA(GetModuleHandleA(nullptr), kClass, &existing)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  if (!g_owner || !IsWindow(g_owner))
    g_owner = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  g_mainThread = GetCurrentThreadId();
}

void DestroyHiddenOwner() {
  if (g_owner && IsWindow(g_owner)) DestroyWindow(g_owner);
  g_owner = nullptr;
}

HWND HiddenOwner() { return g_owner; }

// Teardown step 1 on a thread that is not the main one: the main thread
// does the ending. When the request cannot be delivered this thread ends
// the process itself, without the teardown.
bool MarshalEndToMainThread(int32_t code) {
  if (!g_mainThread || GetCurrentThreadId() == g_mainThread) return false;
  DWORD_PTR answer = 0;
  if (g_owner && IsWindow(g_owner))
    SendMessageTimeoutA(g_owner, kEndRequestMessage, static_cast<WPARAM>(code), 0,
                        SMTO_NORMAL, INFINITE, &answer);
  // Reached only when the main thread did not end the process.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return true;
}

}  // namespace qx
