// The system calls of the window runtime whose effect a test must see
// without having it: the help viewer, and the making and freeing of
// menus' accelerator tables. One table, swapped by tests only.
#pragma once

#include <windows.h>

namespace qx {

// The system's own functions, so the same calling convention.
struct WindowPlatformOps {
  BOOL(WINAPI* winHelp)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
  HACCEL(WINAPI* createAcceleratorTable)(LPACCEL entries, int count);
  BOOL(WINAPI* destroyAcceleratorTable)(HACCEL table);
  BOOL(WINAPI* destroyMenu)(HMENU menu);
};

const WindowPlatformOps& WindowPlatform();
const WindowPlatformOps& DefaultWindowPlatformOps();
// Replaces the table (null: the default); returns the previous one.
const WindowPlatformOps* SetWindowPlatformOps(const WindowPlatformOps* ops);

}  // namespace qx
