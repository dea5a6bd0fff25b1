#include "automation/ParameterType_win.h"

namespace qx {
namespace {

// Aliases of aliases are legal; a type library that loops is not, and must
// not take the program down with it.
constexpr int kMaxDepth = 32;

VARTYPE Resolve(ITypeInfo* owner, const TYPEDESC& type, int depth);

VARTYPE UserDefined(ITypeInfo* owner, HREFTYPE ref, int depth) {
  ITypeInfo* info = nullptr;
  if (!owner || FAILED(owner->GetRefTypeInfo(ref, &info)) || !info) return VT_UNKNOWN;
  VARTYPE vt = VT_UNKNOWN;
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
    switch (attr->typekind) {
      case TKIND_ENUM: vt = VT_I4; break;
      case TKIND_DISPATCH: vt = VT_DISPATCH; break;
      case TKIND_ALIAS: vt = Resolve(info, attr->tdescAlias, depth + 1); break;
      default: vt = VT_UNKNOWN; break;
    }
    info->ReleaseTypeAttr(attr);
  }
  info->Release();
  return vt;
}

VARTYPE Resolve(ITypeInfo* owner, const TYPEDESC& type, int depth) {
  if (depth > kMaxDepth) return VT_UNKNOWN;
  switch (type.vt) {
    case VT_PTR:
      return type.lptdesc ? Resolve(owner, *type.lptdesc, depth + 1) | VT_BYREF : VT_UNKNOWN;
    case VT_SAFEARRAY:
      return type.lptdesc ? Resolve(owner, *type.lptdesc, depth + 1) | VT_ARRAY : VT_UNKNOWN;
    case VT_CARRAY:
      return type.lpadesc ? Resolve(owner, type.lpadesc->tdescElem, depth + 1) | VT_ARRAY : VT_UNKNOWN;
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_USERDEFINED: return UserDefined(owner, type.hreftype, depth);
    default: return type.vt;
  }
}

}  // namespace

VARTYPE EffectiveParameterType(ITypeInfo* owner, const TYPEDESC& type) {
  return Resolve(owner, type, 0);
}

}  // namespace qx
