#include "automation/SheetServer_win.h"

namespace qx {

// The server arrives with its own change; until then there is none.
HRESULT CreateSheetServerFrom(const std::wstring&, IDispatch** app) {
  *app = nullptr;
  return REGDB_E_CLASSNOTREG;
}
HRESULT CreateSheetServer(IDispatch** app) { return CreateSheetServerFrom(L"", app); }
std::wstring ProgramFolder() { return L""; }

}  // namespace qx
