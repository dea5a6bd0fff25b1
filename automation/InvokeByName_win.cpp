#include "automation/InvokeByName.h"

#include <vector>

#include "automation/AutomationStatus.h"
#include "automation/ObjectBlock.h"
#include "automation/ObjectValue.h"
#include "automation/ParameterType_win.h"
#include "automation/VariantValues_win.h"
#include "runtime/Command.h"

namespace qx {
namespace {

// What the name bound to, and how to call it.
struct Binding {
  ITypeInfo* info = nullptr;  // the type information the description belongs to
  DESCKIND descKind = DESCKIND_NONE;
  BINDPTR bound = {};
  WORD flags = 0;
  MEMBERID member = 0;
  bool variableArguments = false;
  // Per declared parameter: effective VARTYPE and PARAMFLAG_* bits.
  std::vector<VARTYPE> types;
  std::vector<USHORT> paramFlags;

  ~Binding() {
    if (!info) return;
    if (descKind == DESCKIND_FUNCDESC && bound.lpfuncdesc) info->ReleaseFuncDesc(bound.lpfuncdesc);
    if ((descKind == DESCKIND_VARDESC || descKind == DESCKIND_IMPLICITAPPOBJ) && bound.lpvardesc)
      info->ReleaseVarDesc(bound.lpvardesc);
    info->Release();
  }
};

// The invocation kinds tried for each kind of access, in order.
const WORD* KindsToTry(int32_t kind, int* n) {
  static const WORD read[] = {INVOKE_PROPERTYGET, INVOKE_FUNC};
  static const WORD write[] = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
  static const WORD call[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT,
                              INVOKE_PROPERTYPUTREF};
  switch (kind) {
    case kInvokeRead: *n = 2; return read;
    case kInvokeWrite: *n = 3; return write;
    case kInvokeCall: *n = 4; return call;
    default: *n = 0; return nullptr;
  }
}

// Steps 4 to 7: type information, the name bound, the member described.
int32_t Bind(IDispatch* dispatch, LCID locale, const wchar_t* name, int32_t kind, Binding* b) {
  ITypeInfo* typeInfo = nullptr;
  ITypeComp* comp = nullptr;
  if (FAILED(dispatch->GetTypeInfo(0, locale, &typeInfo)) || !typeInfo)
    return kAutomationNoTypeInfo;
  HRESULT hr = typeInfo->GetTypeComp(&comp);
  typeInfo->Release();
  if (FAILED(hr) || !comp) return kAutomationNoTypeInfo;

  int n = 0;
  const WORD* kinds = KindsToTry(kind, &n);
  ULONG hash = LHashValOfNameSys(SYS_WIN32, locale, name);
  bool found = false;
  for (int i = 0; i < n && !found; ++i) {
    ITypeInfo* info = nullptr;
    DESCKIND descKind = DESCKIND_NONE;
    BINDPTR bound = {};
    if (SUCCEEDED(comp->Bind(const_cast<wchar_t*>(name), hash, kinds[i], &info, &descKind, &bound))) {
      b->info = info;
      b->descKind = descKind;
      b->bound = bound;
      found = true;
    }
  }
  comp->Release();
  if (!found) return kAutomationNameNotBound;

  if (b->descKind == DESCKIND_TYPECOMP && b->bound.lptcomp) {
    b->bound.lptcomp->Release();
    b->bound.lptcomp = nullptr;
  }
  if (!b->info) return kAutomationNameNotBound;
  if (b->descKind == DESCKIND_FUNCDESC && b->bound.lpfuncdesc) {
    const FUNCDESC* f = b->bound.lpfuncdesc;
    b->flags = static_cast<WORD>(f->invkind);
    b->member = f->memid;
    b->variableArguments = f->cParamsOpt == -1;
    for (SHORT i = 0; i < f->cParams; ++i) {
      b->types.push_back(EffectiveParameterType(b->info, f->lprgelemdescParam[i].tdesc));
      b->paramFlags.push_back(f->lprgelemdescParam[i].paramdesc.wParamFlags);
    }
    return kAutomationOk;
  }
  if ((b->descKind == DESCKIND_VARDESC || b->descKind == DESCKIND_IMPLICITAPPOBJ) &&
      b->bound.lpvardesc) {
    const VARDESC* v = b->bound.lpvardesc;
    b->member = v->memid;
    if (kind == kInvokeWrite) {
      VARTYPE type = EffectiveParameterType(b->info, v->elemdescVar.tdesc);
      bool reference = (type & VT_ARRAY) || type == VT_UNKNOWN || type == VT_DISPATCH;
      b->flags = reference ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT;
      b->types.push_back(type);
      b->paramFlags.push_back(v->elemdescVar.paramdesc.wParamFlags);
    } else {
      b->flags = INVOKE_PROPERTYGET;
    }
    return kAutomationOk;
  }
  return kAutomationNameNotBound;
}

// The types a by-reference slot may point at after coercion; anything else
// travels by value.
bool CoercibleByReference(VARTYPE base) {
  return (base >= VT_I2 && base <= VT_BOOL) || base == VT_UNKNOWN ||
         (base >= VT_I1 && base <= VT_UI4) || base == VT_INT || base == VT_UINT ||
         base == VT_HRESULT;
}

// Step 11 for one argument: into `call` directly, or through `scratch` when
// the parameter is by reference. False: a tag the engine cannot pass.
bool PrepareArgument(const TaggedValue& arg, VARTYPE type, VARIANT* call, VARIANT* scratch) {
  if (arg.tag == 0) {
    V_VT(call) = VT_ERROR;
    V_ERROR(call) = DISP_E_PARAMNOTFOUND;
    return true;
  }
  TaggedValue value = ArgValue(1, &arg, 0);
  bool byRef = type & VT_BYREF;
  VARTYPE base = type & ~VT_BYREF;
  VARIANT* target = byRef ? scratch : call;
  if (!ValueToVariant(value, base, target)) return false;
  // An empty value counts as a missing argument, except where the caller's
  // own variant variable meets an in-out VARIANT parameter: sent as missing,
  // the call would fail and the value coming back be lost.
  bool variantVariable = (arg.tag & kTagByRef) && byRef && base == VT_VARIANT;
  if (V_VT(target) == VT_EMPTY && !variantVariable) {
    V_VT(target) = VT_ERROR;
    V_ERROR(target) = DISP_E_PARAMNOTFOUND;
  }
  if (!byRef) return true;

  auto moveIn = [&] {
    *call = *scratch;
    VariantInit(scratch);
  };
  if (V_VT(scratch) == VT_ERROR) {
    moveIn();
  } else if ((base & VT_ARRAY) && (V_VT(scratch) & VT_ARRAY)) {
    V_VT(call) = VT_BYREF | V_VT(scratch);
    V_ARRAYREF(call) = &V_ARRAY(scratch);
  } else if (base == VT_VARIANT) {
    V_VT(call) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(call) = scratch;
  } else if (V_VT(scratch) == VT_RECORD || FAILED(VariantChangeType(scratch, scratch, 0, base))) {
    moveIn();
  } else if (CoercibleByReference(base)) {
    V_VT(call) = VT_BYREF | base;
    V_BYREF(call) = &V_UI1(scratch);  // every member of the union starts here
  } else {
    moveIn();
  }
  return true;
}

int32_t Invoke(TaggedValue* result, int32_t count, TaggedValue* args, int32_t kind) {
  TaggedValue object = ArgValue(count, args, 0);
  BSTR name = BstrFromAnsi(ArgText(count, args, 1));  // step 1
  struct NameGuard {
    BSTR b;
    ~NameGuard() { SysFreeString(b); }
  } nameGuard{name};

  // Steps 2 and 3.
  const ObjectBlock* block =
      IsObjectCompatibleTag(object.tag) ? static_cast<const ObjectBlock*>(ValuePointer(object)) : nullptr;
  if (!block || !block->iface) return kAutomationEmptyObject;
  IDispatch* dispatch = nullptr;
  if (FAILED(static_cast<IUnknown*>(block->iface)->QueryInterface(
          IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch)
    return kAutomationNoDispatch;
  struct DispatchGuard {
    IDispatch* d;
    ~DispatchGuard() { d->Release(); }
  } dispatchGuard{dispatch};

  LCID locale = GetUserDefaultLCID();
  Binding b;
  int32_t status = Bind(dispatch, locale, name ? name : L"", kind, &b);
  if (status != kAutomationOk) return status;

  // Steps 8 and 9.
  int32_t n = count > 2 ? count - 2 : 0;
  while (n > 0 && args[2 + n - 1].tag == 0) --n;
  size_t declared = b.types.size();
  if (static_cast<size_t>(n) > declared) {
    if (b.descKind != DESCKIND_FUNCDESC || !b.variableArguments || declared == 0)
      return kAutomationTooManyArguments;
    b.types.resize(n, b.types.back());
    b.paramFlags.resize(n, b.paramFlags.back());
  }

  // Steps 10 and 11: the call's array holds the arguments last first.
  std::vector<VARIANT> call(n), scratch(n);
  std::vector<bool> lent(n);
  for (int32_t i = 0; i < n; ++i) {
    VariantInit(&call[i]);
    VariantInit(&scratch[i]);
  }
  struct ArgumentsGuard {
    std::vector<VARIANT>& call;
    std::vector<VARIANT>& scratch;
    std::vector<bool>& lent;
    ~ArgumentsGuard() {
      for (size_t i = 0; i < call.size(); ++i) {
        ClearArgumentVariant(&call[i], lent[i]);
        ClearArgumentVariant(&scratch[i], lent[i]);
      }
    }
  } argumentsGuard{call, scratch, lent};
  for (int32_t i = n - 1; i >= 0; --i) {
    int32_t slot = n - 1 - i;
    const TaggedValue& arg = args[2 + i];
    lent[slot] = arg.tag != 0 && LendsRecord(ArgValue(1, &arg, 0));
    if (!PrepareArgument(arg, b.types[i], &call[slot], &scratch[slot]))
      return kAutomationBadArgumentType;
  }

  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params = {n ? call.data() : nullptr, nullptr, static_cast<UINT>(n), 0};
  if (b.flags & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }

  // Steps 12 to 14.
  VARIANT returned;
  VariantInit(&returned);
  UINT argError = 0;
  HRESULT hr = dispatch->Invoke(b.member, IID_NULL, locale, b.flags, &params, &returned, nullptr,
                                &argError);
  if (FAILED(hr)) {
    VariantClear(&returned);
    return StatusOfInvokeFailure(hr);
  }
  for (int32_t i = 0; i < n; ++i) {
    int32_t slot = n - 1 - i;
    if ((V_VT(&call[slot]) & VT_BYREF) && (b.paramFlags[i] & PARAMFLAG_FOUT) &&
        (args[2 + i].tag & kTagByRef))
      WriteVariantBack(call[slot], args[2 + i].tag, ValuePointer(args[2 + i]));
  }
  if (result->tag != 0) {
    TaggedValue converted;
    bool ok = VariantToValue(returned, result->tag, &converted);
    if (ok) *result = converted;
    status = ok ? kAutomationOk : kAutomationBadResult;
  }
  VariantClear(&returned);
  return status;
}

}  // namespace

void InvokeByName(TaggedValue* result, int32_t count, TaggedValue* args, int32_t kind) {
  int32_t status = Invoke(result, count, args, kind);
  if (status != kAutomationOk) ResetResult(result);
  SetLastAutomationStatus(status);  // step 15
}

}  // namespace qx
