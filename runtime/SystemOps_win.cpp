#include <windows.h>

#include <mbstring.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "runtime/SystemOps.h"

namespace qx {
namespace {

static_assert(kSystemPathSize == MAX_PATH);

// Codes 1-8 name these shell folders.
const int kShellFolders[8] = {CSIDL_PERSONAL,       CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY,
                              CSIDL_FONTS,          CSIDL_STARTMENU, CSIDL_PROGRAMS,
                              CSIDL_STARTUP,        CSIDL_APPDATA};

bool FolderPath(int32_t code, char* buffer) {
  buffer[0] = 0;
  if (code >= 1 && code <= 8)
    return SHGetSpecialFolderPathA(nullptr, buffer, kShellFolders[code - 1], FALSE) != 0;
  UINT n = 0;
  if (code == 9) n = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (code == 10) n = GetSystemDirectoryA(buffer, MAX_PATH);
  if (code == 11) n = GetTempPathA(MAX_PATH, buffer);
  // A larger answer is the size the path would need: nothing was written.
  return n > 0 && n < MAX_PATH;
}

uint32_t WindowProcess(const char* title) {
  HWND h = FindWindowA(nullptr, title);
  DWORD pid = 0;
  if (h) GetWindowThreadProcessId(h, &pid);
  return pid;
}

uint32_t ProcessByName(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  uint32_t found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && !found;
       more = Process32Next(snapshot, &entry)) {
    if (_mbsicmp(reinterpret_cast<const unsigned char*>(entry.szExeFile),
                 reinterpret_cast<const unsigned char*>(name)) == 0)
      found = entry.th32ProcessID;
  }
  CloseHandle(snapshot);
  return found;
}

bool Terminate(uint32_t processId) {
  HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!h) return false;
  bool ok = TerminateProcess(h, 0) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace

const SystemOps& DefaultSystemOps() {
  static const SystemOps ops = {FolderPath, WindowProcess, ProcessByName, Terminate};
  return ops;
}

}  // namespace qx
