// Arguments on their way out: runtime value to VARIANT.
#include <cstring>

#include "automation/ObjectBlock.h"
#include "automation/ObjectValue.h"
#include "automation/VariantValues_win.h"

namespace qx {
namespace {

void ObjectToVariant(const ObjectBlock* block, VARTYPE parameterType, VARIANT* out) {
  IUnknown* unknown = block ? static_cast<IUnknown*>(block->iface) : nullptr;
  if (block && block->record) {
    V_VT(out) = VT_RECORD;
    V_RECORD(out) = block->record;
    V_RECORDINFO(out) = static_cast<IRecordInfo*>(block->iface);
    if (unknown) unknown->AddRef();
    return;
  }
  V_VT(out) = VT_UNKNOWN;
  V_UNKNOWN(out) = nullptr;
  if (!unknown) return;
  if (parameterType == VT_UNKNOWN) {
    unknown->AddRef();
    V_UNKNOWN(out) = unknown;
  } else if (parameterType == VT_DISPATCH) {
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) &&
        dispatch) {
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = dispatch;
    }
  }
}

}  // namespace

bool ValueToVariant(const TaggedValue& value, VARTYPE parameterType, VARIANT* out) {
  VariantInit(out);
  uint32_t tag = BaseTag(value.tag);
  switch (tag) {
    case kTagBool: V_VT(out) = VT_BOOL; V_BOOL(out) = value.lo ? VARIANT_TRUE : VARIANT_FALSE; return true;
    case kTagDateTime: {
      V_VT(out) = VT_DATE;
      uint64_t bits = value.lo | (static_cast<uint64_t>(value.hi) << 32);
      std::memcpy(&V_DATE(out), &bits, 8);
      return true;
    }
    case kTagText:
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = BstrFromAnsi(ValueText(value));
      return true;
    case kTagByte: V_VT(out) = VT_UI1; V_UI1(out) = static_cast<BYTE>(value.lo); return true;
    case kTagShort: V_VT(out) = VT_I2; V_I2(out) = static_cast<SHORT>(value.lo); return true;
    case kTagInt:
    case kTagLong: V_VT(out) = VT_I4; V_I4(out) = static_cast<LONG>(value.lo); return true;
    case kTagFloat: V_VT(out) = VT_R4; std::memcpy(&V_R4(out), &value.lo, 4); return true;
    case kTagDouble: V_VT(out) = VT_R8; V_R8(out) = ValueDouble(value); return true;
    case kTagVariant: {
      const VARIANT* held = static_cast<const VARIANT*>(ValuePointer(value));
      if (held && FAILED(VariantCopyInd(out, const_cast<VARIANT*>(held)))) VariantInit(out);
      return true;
    }
    default:
      if (!IsObjectCompatibleTag(tag)) return false;
      ObjectToVariant(static_cast<const ObjectBlock*>(ValuePointer(value)), parameterType, out);
      return true;
  }
}

bool LendsRecord(const TaggedValue& value) {
  if (!IsObjectCompatibleTag(value.tag)) return false;
  const ObjectBlock* block = static_cast<const ObjectBlock*>(ValuePointer(value));
  return block && block->record;
}

void ClearArgumentVariant(VARIANT* v, bool lentRecord) {
  if (lentRecord && V_VT(v) == VT_RECORD) {
    if (IRecordInfo* info = V_RECORDINFO(v)) info->Release();
    VariantInit(v);
    return;
  }
  VariantClear(v);
}

}  // namespace qx
