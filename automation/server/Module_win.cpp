// The DLL's entry points: the class factory of the application object, the
// unload check, and the count of live objects for tests. There is
// deliberately no DllRegisterServer: this server must never end up
// registered as somebody's spreadsheet application by accident.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

std::atomic<long> g_locks{0};

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory: its references do not keep the DLL (LockServer does).
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IQxApplication* app = NewApplication();
    HRESULT hr = app->QueryInterface(riid, out);
    app->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    g_locks += lock ? 1 : -1;
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace
}  // namespace qx::sheets

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_QxSheetsApplication)) return CLASS_E_CLASSNOTAVAILABLE;
  return qx::sheets::g_factory.QueryInterface(riid, out);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return qx::sheets::LiveObjects() == 0 && qx::sheets::g_locks == 0 ? S_OK : S_FALSE;
}

// For tests: how many objects of this server are alive.
__declspec(dllexport) LONG STDAPICALLTYPE QxSheetsLiveObjects() { return qx::sheets::LiveObjects(); }

}
