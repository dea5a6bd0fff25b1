#include "RegisterServer_win.h"

#include "automation/server/Registration_win.h"

namespace qx::test {

ServerRegistration::ServerRegistration(const std::wstring& dllPath) {
  ok_ = qx::sheets::RegisterSheetServer({false, dllPath, L""}, &why_);
}

ServerRegistration::~ServerRegistration() {
  std::string ignored;
  if (ok_) qx::sheets::UnregisterSheetServer(&ignored);
}

}  // namespace qx::test
