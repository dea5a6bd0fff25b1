// A stand-in spreadsheet application for the controls' tests: dispatch
// objects answering by DISPID alone (the controls bind early), each member a
// small function, with a log of what they were asked.
#pragma once

#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qx::test {

struct FakeObject : IDispatch {
  using Member = std::function<HRESULT(WORD flags, DISPPARAMS* params, VARIANT* result)>;
  std::string name;
  std::map<DISPID, Member> members;
  ULONG references = 1;
  std::vector<std::string>* log = nullptr;
  static int& Live() {
    static int live = 0;
    return live;
  }

  explicit FakeObject(std::string n, std::vector<std::string>* l) : name(std::move(n)), log(l) {
    ++Live();
  }
  virtual ~FakeObject() { --Live(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --references;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (log) log->push_back(name + "." + std::to_string(id));
    auto it = members.find(id);
    if (it == members.end()) return DISP_E_MEMBERNOTFOUND;
    return it->second(flags, params, result);
  }
};

// Puts an object into a result (one more reference).
inline HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  if (!result) return S_OK;
  VariantInit(result);
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  object->AddRef();
  return S_OK;
}

}  // namespace qx::test
