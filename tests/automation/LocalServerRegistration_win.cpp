#include "LocalServerRegistration_win.h"

#include <windows.h>
#include <tlhelp32.h>

namespace qx::test {

std::wstring LocalServerPath() {
  std::string narrow = std::string("Z:") + QX_BINARY_DIR + "/automation/server/qxsheets-app.exe";
  std::wstring path(narrow.begin(), narrow.end());
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

int RunProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  CloseHandle(pi.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

int CountProcesses(const wchar_t* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int n = 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (lstrcmpiW(entry.szExeFile, exeName) == 0) ++n;
  CloseHandle(snapshot);
  return n;
}

bool WaitForProcessCount(const wchar_t* exeName, int count, unsigned timeoutMs) {
  for (unsigned waited = 0;; waited += 50) {
    if (CountProcesses(exeName) == count) return true;
    if (waited >= timeoutMs) return false;
    // A server that ends may still call back into this thread: answer it
    // meanwhile.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
}

LocalServerRegistration::LocalServerRegistration(const std::wstring& arguments, const std::wstring& exe)
    : exe_(exe) {
  RunProgram(exe_, L"/UnregServer");
  ok_ = RunProgram(exe_, L"/RegServer " + arguments) == 0;
}

LocalServerRegistration::~LocalServerRegistration() { RunProgram(exe_, L"/UnregServer"); }

}  // namespace qx::test
