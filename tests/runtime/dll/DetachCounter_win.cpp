// qxdetach.dll: a DLL for the tests of declared DLL functions. QxAnswer is
// exported by name and as ordinal 7; when the DLL is detached it says on
// stderr whether a release did it or the end of the process.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall QxAnswer(int n) { return n + 1; }

namespace {
void Say(const char* line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, lstrlenA(line), &written, nullptr);
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH)
    Say(reserved ? "[detached at process end]\n" : "[detached by release]\n");
  return TRUE;
}
