// Test helper: our local spreadsheet server (qxsheets-app.exe, or a copy of
// it under another name) registered under "Excel.Application" in the test
// run's private Wine prefix for the life of the object, with the behaviour
// switches given; and counting the processes of a name.
#pragma once

#include <string>

namespace qx::test {

// qxsheets-app.exe of this build, as a Windows path.
std::wstring LocalServerPath();
// Runs `program` with `arguments` and waits: its exit code, -1 when it
// could not be started or did not end within 30 s.
int RunProgram(const std::wstring& program, const std::wstring& arguments);
// Running processes whose executable is named `exeName` (case aside).
int CountProcesses(const wchar_t* exeName);
// Waits up to `timeoutMs` for that count to become `count`.
bool WaitForProcessCount(const wchar_t* exeName, int count, unsigned timeoutMs);

class LocalServerRegistration {
 public:
  // Removes a registration a stopped run may have left, then registers.
  explicit LocalServerRegistration(const std::wstring& arguments = L"",
                                   const std::wstring& exe = LocalServerPath());
  ~LocalServerRegistration();
  LocalServerRegistration(const LocalServerRegistration&) = delete;
  LocalServerRegistration& operator=(const LocalServerRegistration&) = delete;

  bool ok() const { return ok_; }

 private:
  std::wstring exe_;
  bool ok_ = false;
};

}  // namespace qx::test
