// Late-bound calls for the tests, as a client of the server makes them:
// names through GetIDsOfNames or fixed DISPIDs, arguments in declaration
// order (reversed here into DISPPARAMS), results as owned VARIANTs.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace qx::test {

struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  Var(const wchar_t* text) {
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
  }
  Var(int n) { VariantInit(&v); V_VT(&v) = VT_I4; V_I4(&v) = n; }
  Var(double d) { VariantInit(&v); V_VT(&v) = VT_R8; V_R8(&v) = d; }
  Var(IDispatch* d) { VariantInit(&v); V_VT(&v) = VT_DISPATCH; V_DISPATCH(&v) = d; if (d) d->AddRef(); }
  static Var Missing() {
    Var m;
    V_VT(&m.v) = VT_ERROR;
    V_ERROR(&m.v) = DISP_E_PARAMNOTFOUND;
    return m;
  }
  Var(const Var& o) { VariantInit(&v); VariantCopy(&v, const_cast<VARIANT*>(&o.v)); }
  Var& operator=(const Var& o) {
    if (this != &o) VariantCopy(&v, const_cast<VARIANT*>(&o.v));
    return *this;
  }
  ~Var() { VariantClear(&v); }
  VARTYPE type() const { return V_VT(&v); }
  IDispatch* obj() const { return V_VT(&v) == VT_DISPATCH ? V_DISPATCH(&v) : nullptr; }
  // Text by the platform's coercion, as the workbook control makes it.
  std::wstring text() const;
  double number() const;
};

struct CallResult {
  HRESULT hr;
  Var value;
  std::wstring description;  // EXCEPINFO's, when the server gave one
};

DISPID IdOf(IDispatch* d, const wchar_t* name);
CallResult Call(IDispatch* d, DISPID id, WORD flags, std::initializer_list<Var> args = {});
CallResult CallName(IDispatch* d, const wchar_t* name, WORD flags, std::initializer_list<Var> args = {});

// Shorthands that fail the test on an error result.
Var Get(IDispatch* d, const wchar_t* name, std::initializer_list<Var> args = {});
Var GetId(IDispatch* d, DISPID id, std::initializer_list<Var> args = {});
void Put(IDispatch* d, const wchar_t* name, const Var& value);
Var Method(IDispatch* d, const wchar_t* name, std::initializer_list<Var> args = {});

// The server's live-object count, from its DLL.
long LiveObjects();
// Path of qxsheets.dll beside the test program.
std::wstring ServerDllPath();
// A file of the source tree (a GBK path below it) as a wide path.
std::wstring SourcePath(const char* relative);

}  // namespace qx::test
