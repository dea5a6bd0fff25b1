// A sink for the application's events that records each one: its DISPID,
// its argument count and the name of the workbook it names.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "DispatchCalls_win.h"

namespace qx::test {

inline const IID kAppEvents = {0x00024413, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class EventSink : public IDispatch {
 public:
  struct Event {
    DISPID id;
    UINT args;
    std::wstring book;
  };
  std::vector<Event> events;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kAppEvents)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    Event e{id, p->cArgs, L""};
    // The workbook is the first argument: the last in the reversed array.
    if (p->cArgs > 0 && V_VT(&p->rgvarg[p->cArgs - 1]) == VT_DISPATCH)
      e.book = Get(V_DISPATCH(&p->rgvarg[p->cArgs - 1]), L"Name").text();
    events.push_back(e);
    return S_OK;
  }
  ULONG refs = 1;
};

}  // namespace qx::test
