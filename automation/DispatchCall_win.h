// Early-bound calls into the spreadsheet application: by DISPID, locale 0,
// every failure the application raises caught and dropped. The controls
// hold their references in plain slots that release what they replace.
#pragma once

#include <oaidl.h>

#include <string>

namespace qx {

// Property get, property put and method calls. Arguments are given in
// declaration order (the call reverses them). A failed call leaves `result`
// VT_EMPTY and answers false.
bool DispatchGet(IDispatch* object, DISPID member, VARIANT* result, const VARIANT* args = nullptr,
                 unsigned count = 0);
bool DispatchPut(IDispatch* object, DISPID member, const VARIANT& value);
// What the application said of a failed call: the failure it raised
// (EXCEPINFO's scode, else the call's own HRESULT) and its description,
// where it gives one.
struct DispatchFailure {
  HRESULT result = S_OK;
  std::wstring description;
};
// `failure`, when given, receives what the application said of a failed call.
bool DispatchCallMethod(IDispatch* object, DISPID member, VARIANT* result = nullptr,
                        const VARIANT* args = nullptr, unsigned count = 0,
                        DispatchFailure* failure = nullptr);

// A property or method result as an IDispatch (one reference, owned by the
// caller), or null.
IDispatch* DispatchGetObject(IDispatch* object, DISPID member, const VARIANT* args = nullptr,
                             unsigned count = 0, WORD flags = DISPATCH_PROPERTYGET);

// The DISPID of a member name, or DISPID_UNKNOWN when the object does not
// know it.
DISPID DispatchIdOf(IDispatch* object, const wchar_t* name);

// A slot that owns one reference: storing releases the old one.
void ReplaceRef(IDispatch** slot, IDispatch* owned);
inline void ReleaseRef(IDispatch** slot) { ReplaceRef(slot, nullptr); }

// Arguments.
VARIANT MissingArgument();  // VT_ERROR, DISP_E_PARAMNOTFOUND
VARIANT IntArgument(int32_t v);
VARIANT DoubleArgument(double v);
VARIANT BoolArgument(bool v);  // VT_BOOL
// A BSTR from ANSI text (system code page); the caller clears the VARIANT.
VARIANT TextArgument(const std::string& ansi);

// Conversions of a result for the controls' property reads.
std::string VariantToAnsi(const VARIANT& v);  // coerced to text; empty on failure
double VariantToDouble(const VARIANT& v);     // 0 on failure
int32_t VariantToInt(const VARIANT& v);       // the 32-bit value; 0 on failure
// True when the value's data word is not zero (a logical read).
bool VariantDataWordNonZero(const VARIANT& v);

}  // namespace qx
