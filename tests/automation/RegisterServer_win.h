// Test helper: registers our spreadsheet server's DLL under the ProgID
// "Excel.Application" as an in-process server, so that a test can go the
// way a client reaches a spreadsheet application (CLSIDFromProgID,
// CoCreateInstance, OleRun) without a process of its own. It works only
// under Wine, that is in the test run's private prefix, and never replaces
// an existing registration.
#pragma once

#include <string>

namespace qx::test {

class ServerRegistration {
 public:
  // Registers `dllPath`; on refusal or failure ok() is false and why()
  // says why.
  explicit ServerRegistration(const std::wstring& dllPath);
  // Removes exactly what the constructor added.
  ~ServerRegistration();
  ServerRegistration(const ServerRegistration&) = delete;
  ServerRegistration& operator=(const ServerRegistration&) = delete;

  bool ok() const { return ok_; }
  const std::string& why() const { return why_; }

 private:
  bool ok_ = false;
  std::string why_;
};

}  // namespace qx::test
