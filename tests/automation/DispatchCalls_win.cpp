#include "DispatchCalls_win.h"

#include <gtest/gtest.h>

#include "automation/SheetServer_win.h"

namespace qx::test {

std::wstring Var::text() const {
  if (V_VT(&v) == VT_BSTR) return V_BSTR(&v) ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"";
  VARIANT t;
  VariantInit(&t);
  if (FAILED(VariantChangeType(&t, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return L"<no text>";
  std::wstring s(V_BSTR(&t) ? V_BSTR(&t) : L"", V_BSTR(&t) ? SysStringLen(V_BSTR(&t)) : 0);
  VariantClear(&t);
  return s;
}

double Var::number() const {
  VARIANT t;
  VariantInit(&t);
  if (FAILED(VariantChangeType(&t, const_cast<VARIANT*>(&v), 0, VT_R8))) return -12345;
  return V_R8(&t);
}

DISPID IdOf(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return SUCCEEDED(hr) ? id : DISPID_UNKNOWN;
}

CallResult Call(IDispatch* d, DISPID id, WORD flags, std::initializer_list<Var> args) {
  std::vector<Var> reversed(args.begin(), args.end());
  std::reverse(reversed.begin(), reversed.end());
  std::vector<VARIANT> raw;
  for (Var& a : reversed) raw.push_back(a.v);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params = {raw.empty() ? nullptr : raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  CallResult r;
  EXCEPINFO ex = {};
  UINT argErr = 0;
  r.hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &r.value.v, &ex, &argErr);
  if (ex.bstrDescription) r.description.assign(ex.bstrDescription, SysStringLen(ex.bstrDescription));
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrSource);
  SysFreeString(ex.bstrHelpFile);
  return r;
}

CallResult CallName(IDispatch* d, const wchar_t* name, WORD flags, std::initializer_list<Var> args) {
  DISPID id = IdOf(d, name);
  if (id == DISPID_UNKNOWN) return CallResult{DISP_E_UNKNOWNNAME, Var(), L""};
  return Call(d, id, flags, args);
}

Var Get(IDispatch* d, const wchar_t* name, std::initializer_list<Var> args) {
  CallResult r = CallName(d, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
  EXPECT_EQ(r.hr, S_OK) << "get " << testing::PrintToString(std::wstring(name));
  return r.value;
}

Var GetId(IDispatch* d, DISPID id, std::initializer_list<Var> args) {
  CallResult r = Call(d, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
  EXPECT_EQ(r.hr, S_OK) << "get DISPID 0x" << std::hex << id;
  return r.value;
}

void Put(IDispatch* d, const wchar_t* name, const Var& value) {
  CallResult r = CallName(d, name, DISPATCH_PROPERTYPUT, {value});
  EXPECT_EQ(r.hr, S_OK) << "put " << testing::PrintToString(std::wstring(name));
}

Var Method(IDispatch* d, const wchar_t* name, std::initializer_list<Var> args) {
  CallResult r = CallName(d, name, DISPATCH_METHOD, args);
  EXPECT_EQ(r.hr, S_OK) << "call " << testing::PrintToString(std::wstring(name)) << " "
                        << testing::PrintToString(r.description);
  return r.value;
}

long LiveObjects() {
  HMODULE dll = GetModuleHandleW(qx::kSheetServerDll);
  if (!dll) return 0;
  using Count = LONG(STDAPICALLTYPE*)();
  auto count = reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(dll, "QxSheetsLiveObjects")));
  return count ? count() : -1;
}

std::wstring ServerDllPath() { return qx::ProgramFolder() + qx::kSheetServerDll; }

std::wstring SourcePath(const char* relative) {
  // Narrow literals are GBK.
  std::string path = std::string(QX_SOURCE_DIR) + "/" + relative;
  int n = MultiByteToWideChar(936, 0, path.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, path.c_str(), -1, w.data(), n);
  w.resize(static_cast<size_t>(n - 1));
  // Wine maps the Unix root to drive Z:.
  if (!w.empty() && w[0] == L'/') w = L"Z:" + w;
  for (wchar_t& c : w)
    if (c == L'/') c = L'\\';
  return w;
}

}  // namespace qx::test
