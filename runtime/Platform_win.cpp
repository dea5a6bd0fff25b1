#include <windows.h>

#include "runtime/Platform.h"

namespace qx {
namespace {

void ShowErrorDialog(const char* text) {
  MessageBoxA(nullptr, text, "错误", MB_OK | MB_ICONERROR);
}

[[noreturn]] void TerminateProcess(int32_t code) {
  ExitProcess(static_cast<UINT>(code));
}

void ProgramPath(char* buffer, uint32_t size) {
  DWORD n = GetModuleFileNameA(nullptr, buffer, size);
  if (n >= size) n = 0;
  buffer[n] = 0;
}

// Not named SetCurrentDirectory: windows.h makes that SetCurrentDirectoryA, and
// the call inside would then call itself.
void SetCurrentFolder(const char* folder) {
  if (folder && *folder) SetCurrentDirectoryA(folder);
}

}  // namespace

const PlatformOps& DefaultPlatformOps() {
  static const PlatformOps ops = {ShowErrorDialog, TerminateProcess, ProgramPath,
                                  SetCurrentFolder};
  return ops;
}

}  // namespace qx
