// The DLL's entry points: the class factory of the application object, the
// unload check, and for tests the count of live objects and the behaviour
// switch. There is deliberately no DllRegisterServer: this server must
// never end up registered as somebody's spreadsheet application by
// accident.
#include "automation/server/ServerCore_win.h"

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_QxSheetsApplication)) return CLASS_E_CLASSNOTAVAILABLE;
  return qx::sheets::ApplicationClassFactory()->QueryInterface(riid, out);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return qx::sheets::LiveObjects() == 0 && qx::sheets::Locks() == 0 ? S_OK : S_FALSE;
}

// For tests: how many objects of this server are alive.
__declspec(dllexport) LONG STDAPICALLTYPE QxSheetsLiveObjects() { return qx::sheets::LiveObjects(); }

// For tests: the ServerBehaviour flags the server follows from now on.
__declspec(dllexport) void STDAPICALLTYPE QxSheetsSetBehaviour(DWORD flags) {
  qx::sheets::SetBehaviour(flags);
}

}
