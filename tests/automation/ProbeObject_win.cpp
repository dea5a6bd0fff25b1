#include "ProbeObject_win.h"

#include <windows.h>

#include <cwchar>

namespace qx::test {
namespace {

int g_live = 0;

// {6e1c3a52-4f0b-4b8e-9c55-1d2a7e3b9a05}, ProbePoint in Probe.idl.
const GUID kProbePointGuid = {0x6e1c3a52, 0x4f0b, 0x4b8e, {0x9c, 0x55, 0x1d, 0x2a, 0x7e, 0x3b, 0x9a, 0x05}};

struct ProbePointData {
  LONG x;
  LONG y;
  BSTR label;
};

std::wstring Describe(const VARIANT& v) {
  wchar_t buf[128];
  VARTYPE vt = V_VT(&v);
  const VARIANT* p = &v;
  std::wstring prefix;
  if (vt == (VT_BYREF | VT_VARIANT)) {
    p = V_VARIANTREF(&v);
    vt = V_VT(p);
    prefix = L"ref ";
  }
  switch (vt) {
    case VT_BOOL: swprintf(buf, 128, L"11:%d", V_BOOL(p)); break;
    case VT_BSTR: return prefix + L"8:" + (V_BSTR(p) ? V_BSTR(p) : L"(null)");
    case VT_I4: swprintf(buf, 128, L"3:%ld", static_cast<long>(V_I4(p))); break;
    case VT_I2: swprintf(buf, 128, L"2:%d", V_I2(p)); break;
    case VT_UI1: swprintf(buf, 128, L"17:%u", V_UI1(p)); break;
    case VT_R4: swprintf(buf, 128, L"4:%g", static_cast<double>(V_R4(p))); break;
    case VT_R8: swprintf(buf, 128, L"5:%g", V_R8(p)); break;
    case VT_DATE: swprintf(buf, 128, L"7:%g", V_DATE(p)); break;
    case VT_ERROR: swprintf(buf, 128, L"10:%08lx", static_cast<unsigned long>(V_ERROR(p))); break;
    case VT_UNKNOWN: swprintf(buf, 128, L"13:%ls", V_UNKNOWN(p) ? L"obj" : L"null"); break;
    case VT_DISPATCH: swprintf(buf, 128, L"9:%ls", V_DISPATCH(p) ? L"obj" : L"null"); break;
    case VT_RECORD: {
      auto* d = static_cast<const ProbePointData*>(V_RECORD(p));
      if (!d) return prefix + L"36:null";
      swprintf(buf, 128, L"36:%ld,%ld,%ls", static_cast<long>(d->x), static_cast<long>(d->y),
               d->label ? d->label : L"(null)");
      break;
    }
    default: swprintf(buf, 128, L"%u", vt); break;
  }
  return prefix + buf;
}

void MakePointVariant(LONG x, LONG y, VARIANT* out) {
  IRecordInfo* info = ProbePointInfo();
  auto* d = static_cast<ProbePointData*>(info->RecordCreate());
  d->x = x;
  d->y = y;
  d->label = SysAllocString(L"P");
  V_VT(out) = VT_RECORD;
  V_RECORD(out) = d;
  V_RECORDINFO(out) = info;
}

class Bare : public IUnknown {
 public:
  Bare() { ++g_live; }
  virtual ~Bare() { --g_live; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }

 private:
  ULONG refs_ = 1;
};

class Blind : public IDispatch {
 public:
  Blind() { ++g_live; }
  virtual ~Blind() { --g_live; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  ULONG refs_ = 1;
};

class Bag : public Blind {
 public:
  BagState* State() { return &state_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    *out = nullptr;
    ITypeLib* lib = ProbeTypeLib();
    return lib ? lib->GetTypeInfoOfGuid(DIID_DQxBag, out) : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    state_.lastFlags = flags;
    state_.lastMember = member;
    if (member == 1 && (flags & DISPATCH_PROPERTYGET)) {
      if (result) {
        V_VT(result) = VT_R8;
        V_R8(result) = state_.level;
      }
      return S_OK;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      if (params->cArgs != 1 || params->cNamedArgs != 1 ||
          params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_PARAMNOTFOUND;
      if (member == 1) {
        VARIANT d;
        VariantInit(&d);
        if (FAILED(VariantChangeType(&d, &params->rgvarg[0], 0, VT_R8))) return DISP_E_TYPEMISMATCH;
        state_.level = V_R8(&d);
        return S_OK;
      }
      if (member == 2) {
        state_.linked = V_VT(&params->rgvarg[0]) == VT_DISPATCH && V_DISPATCH(&params->rgvarg[0]);
        return S_OK;
      }
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  BagState state_;
};

// Type information that hands out the library's type comparison in place
// of its own; nothing else of it is asked for.
class LibraryTypeInfo final : public ITypeInfo {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_ITypeInfo) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** out) override {
    return ProbeTypeLib()->GetTypeComp(out);
  }
  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

 private:
  ULONG refs_ = 1;
};

class LibraryBound final : public Bag {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    *out = new LibraryTypeInfo;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    BagState* s = State();
    s->lastFlags = flags;
    s->lastMember = member;
    s->lastArgs = params->cArgs;
    s->lastNamedArgs = params->cNamedArgs ? static_cast<UINT>(params->rgdispidNamedArgs[0]) : 0;
    if (flags & DISPATCH_PROPERTYGET) {
      if (result) {
        V_VT(result) = VT_R8;
        V_R8(result) = s->level;
      }
      return S_OK;
    }
    VARIANT d;
    VariantInit(&d);
    if (params->cArgs != 1 || FAILED(VariantChangeType(&d, &params->rgvarg[0], 0, VT_R8)))
      return DISP_E_TYPEMISMATCH;
    s->level = V_R8(&d);
    return S_OK;
  }
};

class Probe : public IQxProbe {
 public:
  Probe() { ++g_live; }
  virtual ~Probe() {
    if (state_.child) state_.child->Release();
    --g_live;
  }
  ProbeState* State() { return &state_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IQxProbe) return E_NOINTERFACE;
    *out = static_cast<IQxProbe*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 1; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *out = ProbeTypeInfo();
    (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID,
                                          DISPID* ids) override {
    return DispGetIDsOfNames(ProbeTypeInfo(), names, n, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
    ++state_.invokes;
    if (FAILED(state_.failNext)) {
      HRESULT hr = state_.failNext;
      state_.failNext = S_OK;
      return hr;
    }
    // The platform's Invoke of this Wine does not take variable arguments:
    // the probe reads them itself, as a server of its own would.
    if (member == 7 && (flags & DISPATCH_METHOD)) return InvokeJoin(params, result);
    return DispInvoke(static_cast<IQxProbe*>(this), ProbeTypeInfo(), member, flags, params, result,
                      exception, argError);
  }

  HRESULT STDMETHODCALLTYPE get_Number(double* v) override { *v = state_.number; return S_OK; }
  HRESULT STDMETHODCALLTYPE put_Number(double v) override { state_.number = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* v) override { *v = 42; return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* v) override {
    *v = SysAllocStringLen(state_.name.data(), static_cast<UINT>(state_.name.size()));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR v) override {
    state_.name = v ? std::wstring(v, SysStringLen(v)) : std::wstring();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Child(IDispatch** v) override {
    *v = state_.child;
    if (*v) (*v)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE putref_Child(IDispatch* v) override {
    if (v) v->AddRef();
    if (state_.child) state_.child->Release();
    state_.child = v;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG index, LONG* v) override { *v = index * 10; return S_OK; }
  HRESULT STDMETHODCALLTYPE Add(double a, VARIANT b, double* r) override {
    *r = a;
    if (V_VT(&b) == VT_ERROR) return S_OK;
    VARIANT d;
    VariantInit(&d);
    if (FAILED(VariantChangeType(&d, &b, 0, VT_R8))) return DISP_E_TYPEMISMATCH;
    *r += V_R8(&d);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Join(BSTR separator, SAFEARRAY* rest, BSTR* r) override {
    std::wstring out;
    LONG lo = 0, hi = -1;
    if (rest) {
      SafeArrayGetLBound(rest, 1, &lo);
      SafeArrayGetUBound(rest, 1, &hi);
    }
    for (LONG i = lo; i <= hi; ++i) {
      VARIANT e, s;
      VariantInit(&e);
      VariantInit(&s);
      SafeArrayGetElement(rest, &i, &e);
      if (i > lo && separator) out += separator;
      if (SUCCEEDED(VariantChangeType(&s, &e, 0, VT_BSTR)) && V_BSTR(&s)) out += V_BSTR(&s);
      VariantClear(&e);
      VariantClear(&s);
    }
    *r = SysAllocString(out.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Swap(LONG* a, BSTR* s, double* d) override {
    *a += 1;
    std::wstring t = *s ? *s : L"";
    SysFreeString(*s);
    *s = SysAllocString((t + L"!").c_str());
    *d *= 2;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Widths(INT i, UINT u, double* r) override {
    *r = static_cast<double>(i) * 1000 + u;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Shade(ProbeColour c, ProbeCash m, LONG* r) override {
    *r = static_cast<LONG>(c) * 1000 + m;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Describe(VARIANT v, BSTR* r) override {
    *r = SysAllocString(qx::test::Describe(v).c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MakePoint(LONG x, LONG y, VARIANT* point) override {
    VariantClear(point);
    MakePointVariant(x, y, point);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Point(VARIANT* v) override {
    MakePointVariant(1, 2, v);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_FailWith(LONG code) override {
    state_.failNext = code;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Outputs(LONG* n, BSTR* s, IUnknown** o, VARIANT_BOOL* b) override {
    *n = *n * 2 + 1;
    SysFreeString(*s);
    *s = SysAllocString(L"输出\x0E01");
    if (*o) (*o)->Release();
    *o = NewBareObject();
    *b = VARIANT_TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TakeObjects(IUnknown* u, IDispatch* d, VARIANT v, BSTR* r) override {
    std::wstring out = std::wstring(L"u:") + (u ? L"obj" : L"null") + L" d:" + (d ? L"obj" : L"null") +
                       L" v:" + qx::test::Describe(v);
    *r = SysAllocString(out.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_When(DATE* v) override { *v = state_.when; return S_OK; }
  HRESULT STDMETHODCALLTYPE put_When(DATE v) override { state_.when = v; return S_OK; }
  HRESULT STDMETHODCALLTYPE Nothing() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Bump(VARIANT* v) override {
    LONG n = V_VT(v) == VT_I4 ? V_I4(v) + 1 : 1;
    VariantClear(v);
    V_VT(v) = VT_I4;
    V_I4(v) = n;
    return S_OK;
  }

  // Reads its in-only pointer, and then scribbles on it as no server should.
  HRESULT STDMETHODCALLTYPE Peek(LONG* v, LONG* r) override {
    *r = *v;
    *v = -1;
    return S_OK;
  }

  // Join(separator, rest...): the arguments arrive last first.
  HRESULT InvokeJoin(DISPPARAMS* params, VARIANT* result) {
    if (params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
    std::wstring separator, out;
    for (UINT k = params->cArgs; k-- > 0;) {
      VARIANT text;
      VariantInit(&text);
      std::wstring piece;
      if (SUCCEEDED(VariantChangeType(&text, &params->rgvarg[k], 0, VT_BSTR)) && V_BSTR(&text))
        piece = V_BSTR(&text);
      VariantClear(&text);
      if (k == params->cArgs - 1) {
        separator = piece;
        continue;
      }
      if (k != params->cArgs - 2) out += separator;
      out += piece;
    }
    if (result) {
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(out.c_str());
    }
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
  ProbeState state_;
};

}  // namespace

int LiveProbeObjects() { return g_live; }

ITypeLib* ProbeTypeLib() {
  static ITypeLib* lib = [] {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ITypeLib* l = nullptr;
    LoadTypeLibEx(path, REGKIND_NONE, &l);
    return l;
  }();
  return lib;
}

ITypeInfo* ProbeTypeInfo() {
  static ITypeInfo* info = [] {
    ITypeInfo* i = nullptr;
    if (ProbeTypeLib()) ProbeTypeLib()->GetTypeInfoOfGuid(IID_IQxProbe, &i);
    return i;
  }();
  return info;
}

IRecordInfo* ProbePointInfo() {
  static IRecordInfo* record = [] {
    ITypeInfo* i = nullptr;
    IRecordInfo* r = nullptr;
    if (ProbeTypeLib() && SUCCEEDED(ProbeTypeLib()->GetTypeInfoOfGuid(kProbePointGuid, &i))) {
      GetRecordInfoFromTypeInfo(i, &r);
      i->Release();
    }
    return r;
  }();
  record->AddRef();
  return record;
}

IQxProbe* NewProbe(ProbeState** state) {
  auto* p = new Probe;
  if (state) *state = p->State();
  return p;
}

IUnknown* NewBareObject() { return new Bare; }

IUnknown* NewBag(BagState** state) {
  auto* b = new Bag;
  if (state) *state = b->State();
  return static_cast<IDispatch*>(b);
}
IUnknown* NewLibraryBound(BagState** state) {
  auto* b = new LibraryBound;
  if (state) *state = b->State();
  return static_cast<IDispatch*>(b);
}
IUnknown* NewBlindObject() { return static_cast<IDispatch*>(new Blind); }

}  // namespace qx::test
