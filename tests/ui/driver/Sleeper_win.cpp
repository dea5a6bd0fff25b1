// qxsleeper [TITLE]: a process for the tests to end. With a title it shows
// a top-level window of that title; it runs until it is ended.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc > 1) {
    HWND h = CreateWindowExA(0, "STATIC", argv[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                             80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!h) return 3;
  }
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 1;
}
