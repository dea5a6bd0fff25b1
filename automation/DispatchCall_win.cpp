#include "automation/DispatchCall_win.h"

#include <oleauto.h>

#include <climits>
#include <cstring>
#include <vector>

#include "runtime/encoding/Wide_win.h"

namespace qx {
namespace {

std::string Ansi(BSTR text) {
  return text ? AnsiFromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

// Arguments go to Invoke last first; a property put names its one argument
// DISPID_PROPERTYPUT.
bool Invoke(IDispatch* object, DISPID member, WORD flags, const VARIANT* args, unsigned count,
            VARIANT* result, DispatchFailure* failure = nullptr) {
  if (result) VariantInit(result);
  if (!object) return false;
  std::vector<VARIANT> reversed(count);
  for (unsigned i = 0; i < count; ++i) reversed[count - 1 - i] = args[i];
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {reversed.data(), nullptr, count, 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  VARIANT scratch;
  VariantInit(&scratch);
  UINT argError = 0;
  // Exception details are asked for only where somebody shows them.
  EXCEPINFO exception = {};
  HRESULT hr = object->Invoke(member, IID_NULL, 0, flags, &params, result ? result : &scratch,
                              failure ? &exception : nullptr, &argError);
  VariantClear(&scratch);
  if (failure) {
    if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    failure->result = hr == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : hr;
    failure->description.assign(exception.bstrDescription ? exception.bstrDescription : L"",
                                SysStringLen(exception.bstrDescription));
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  if (FAILED(hr)) {
    if (result) VariantClear(result);
    return false;
  }
  return true;
}

// The platform's conversions take their source as non-const.
VARIANTARG* In(const VARIANT& v) { return const_cast<VARIANT*>(&v); }

}  // namespace

bool DispatchGet(IDispatch* object, DISPID member, VARIANT* result, const VARIANT* args,
                 unsigned count) {
  return Invoke(object, member, DISPATCH_PROPERTYGET, args, count, result);
}

bool DispatchPut(IDispatch* object, DISPID member, const VARIANT& value) {
  return Invoke(object, member, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

bool DispatchCallMethod(IDispatch* object, DISPID member, VARIANT* result, const VARIANT* args,
                        unsigned count, DispatchFailure* failure) {
  return Invoke(object, member, DISPATCH_METHOD, args, count, result, failure);
}

IDispatch* DispatchGetObject(IDispatch* object, DISPID member, const VARIANT* args,
                             unsigned count, WORD flags) {
  VARIANT v;
  if (!Invoke(object, member, flags, args, count, &v)) return nullptr;
  IDispatch* out = nullptr;
  if ((V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) && V_UNKNOWN(&v))
    V_UNKNOWN(&v)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&out));
  VariantClear(&v);
  return out;
}

DISPID DispatchIdOf(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  if (!object || FAILED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) return DISPID_UNKNOWN;
  return id;
}

void ReplaceRef(IDispatch** slot, IDispatch* owned) {
  IDispatch* old = *slot;
  *slot = owned;
  if (old) old->Release();
}

namespace {

VARIANT OfType(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}

}  // namespace

VARIANT MissingArgument() {
  VARIANT v = OfType(VT_ERROR);
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  return v;
}

VARIANT IntArgument(int32_t i) {
  VARIANT v = OfType(VT_I4);
  V_I4(&v) = i;
  return v;
}

VARIANT DoubleArgument(double d) {
  VARIANT v = OfType(VT_R8);
  V_R8(&v) = d;
  return v;
}

VARIANT BoolArgument(bool b) {
  VARIANT v = OfType(VT_BOOL);
  V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT TextArgument(const std::string& ansi) {
  VARIANT v = OfType(VT_BSTR);
  std::wstring wide = WideFromAnsi(ansi);
  V_BSTR(&v) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return v;
}

std::string VariantToAnsi(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  std::string out;
  if (V_VT(&value) == VT_BSTR)
    return Ansi(V_BSTR(&value));
  if (FAILED(VariantChangeType(&text, In(value), 0, VT_BSTR))) return out;
  out = Ansi(V_BSTR(&text));
  VariantClear(&text);
  return out;
}

double VariantToDouble(const VARIANT& value) {
  VARIANT d;
  VariantInit(&d);
  if (FAILED(VariantChangeType(&d, In(value), 0, VT_R8))) return 0;
  return V_R8(&d);
}

int32_t VariantToInt(const VARIANT& value) {
  // Widths and sizes come back as doubles: their fraction is cut off, not
  // rounded.
  if (V_VT(&value) == VT_R8 || V_VT(&value) == VT_R4 || V_VT(&value) == VT_DATE) {
    double d = VariantToDouble(value);
    return d >= -2147483648.0 && d < 2147483648.0 ? static_cast<int32_t>(d) : INT32_MIN;
  }
  VARIANT i;
  VariantInit(&i);
  if (FAILED(VariantChangeType(&i, In(value), 0, VT_I4))) return 0;
  return V_I4(&i);
}

bool VariantDataWordNonZero(const VARIANT& v) {
  // Null (a range whose cells differ) carries no data word: what is there
  // is whatever the result held before.
  if (V_VT(&v) == VT_EMPTY || V_VT(&v) == VT_NULL) return false;
  uint32_t word;
  memcpy(&word, &v.lVal, sizeof word);
  return word != 0;
}

}  // namespace qx
