// The VARTYPE a member's parameter expects, from its type description.
#pragma once

#include <oaidl.h>

namespace qx {

// A pointer adds VT_BYREF to its pointee's type, a safe array or C array
// adds VT_ARRAY to its element's; INT and UINT become I4 and UI4; a
// user-defined type resolves through `owner`'s references: an enumeration
// is I4, a dispatch interface IDispatch, an alias is followed, anything else
// is IUnknown.
VARTYPE EffectiveParameterType(ITypeInfo* owner, const TYPEDESC& type);

}  // namespace qx
