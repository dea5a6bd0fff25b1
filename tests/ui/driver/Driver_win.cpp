#include "Driver.h"

namespace qx::driver {

HWND WaitForWindow(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    // A window exists before its controls and its created event; the
    // runtime shows it only after both, so a shown window is a ready one.
    HWND h = FindWindowA(nullptr, title);
    if (h && IsWindowVisible(h)) return h;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool WaitForWindowGone(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (FindWindowA(nullptr, title)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

HWND Child(HWND window, int childId) { return GetDlgItem(window, childId); }

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

std::string Text(HWND control) {
  DWORD_PTR n = 0;
  SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &n);
  std::string s(n + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&s[0]), SMTO_NORMAL,
                      5000, &got);
  s.resize(got);
  return s;
}

void SetText(HWND control, const char* text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void PressKey(HWND control, UINT virtualKey) {
  PostMessageA(control, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

void Close(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

HANDLE Launch(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

long WaitForExit(HANDLE process, DWORD timeoutMs) {
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -2;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return static_cast<long>(code);
}

}  // namespace qx::driver
