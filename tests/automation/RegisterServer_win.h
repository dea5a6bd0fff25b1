// Test helper: registers our spreadsheet server under the ProgID
// "Excel.Application" (the user's classes, or the machine's where Wine's COM
// reads only those), so that a test can go the way a
// client reaches a spreadsheet application (CLSIDFromProgID,
// CoCreateInstance, OleRun). It works only under Wine, that is in the test
// run's private prefix, and never replaces an existing registration.
#pragma once

#include <string>

namespace qxtest {

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
  void* root_ = nullptr;  // the HKEY the keys went under
  std::string why_;
};

}  // namespace qxtest
