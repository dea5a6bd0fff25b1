// The class factory of the application object, shared by the DLL's
// DllGetClassObject and the local server's registered class object.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

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
  // One static factory: its references keep nothing alive (LockServer does).
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
    CountLock(lock != FALSE);
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

IClassFactory* ApplicationClassFactory() { return &g_factory; }

}  // namespace qx::sheets
