#include "app/SpreadsheetProcesses_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>

namespace qx::app {

std::vector<uint32_t> SpreadsheetProcessIds() {
  std::vector<uint32_t> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, "et.exe") == 0 || lstrcmpiA(entry.szExeFile, "EXCEL.exe") == 0)
      ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

void NoteBeforeStart(StartedSpreadsheets* s) { s->before = SpreadsheetProcessIds(); }

void NoteAfterStart(StartedSpreadsheets* s) {
  for (uint32_t id : SpreadsheetProcessIds())
    if (std::find(s->before.begin(), s->before.end(), id) == s->before.end() &&
        std::find(s->ours.begin(), s->ours.end(), id) == s->ours.end())
      s->ours.push_back(id);
}

}  // namespace qx::app
