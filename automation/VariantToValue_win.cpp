// Results and out parameters on their way back: VARIANT to runtime value.
#include <cstring>

#include "automation/ObjectBlock.h"
#include "automation/ObjectValue.h"
#include "automation/VariantValues_win.h"
#include "runtime/Memory.h"

namespace qx {
namespace {

VARTYPE CoercionTarget(uint32_t tag) {
  switch (tag) {
    case kTagObject: return VT_UNKNOWN;
    case kTagBool: return VT_BOOL;
    case kTagDateTime: return VT_DATE;
    case kTagText: return VT_BSTR;
    case kTagByte: return VT_UI1;
    case kTagShort: return VT_I2;
    case kTagInt:
    case kTagLong: return VT_I4;
    case kTagFloat: return VT_R4;
    case kTagDouble: return VT_R8;
    default: return VT_EMPTY;
  }
}

void SetWords64(TaggedValue* out, uint64_t bits) {
  out->lo = static_cast<uint32_t>(bits);
  out->hi = static_cast<uint32_t>(bits >> 32);
}

// Bytes of a scalar value as its variable holds it.
int32_t VariableSize(uint32_t tag) {
  switch (tag) {
    case kTagByte: return 1;
    case kTagShort: return 2;
    case kTagLong:
    case kTagDouble:
    case kTagDateTime: return 8;
    default: return 4;
  }
}

// A record, held directly, by reference, or in a referenced VARIANT.
bool IsRecord(const VARIANT& v) {
  if (V_VT(&v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&v)) return IsRecord(*V_VARIANTREF(&v));
  return (V_VT(&v) & VT_TYPEMASK) == VT_RECORD;
}

}  // namespace

bool VariantToValue(const VARIANT& in, uint32_t wantedTag, TaggedValue* out) {
  if (IsRecord(in)) return false;
  uint32_t tag = BaseTag(wantedTag);
  if (IsObjectCompatibleTag(tag)) tag = kTagObject;
  *out = {0, 0, BaseTag(wantedTag)};

  if (tag == kTagVariant) {
    auto* held = static_cast<VARIANT*>(AllocateMemory(sizeof(VARIANT)));
    VariantInit(held);
    if (FAILED(VariantCopyInd(held, const_cast<VARIANT*>(&in)))) {
      FreeMemory(held);
      return false;
    }
    SetValuePointer(out, held, out->tag);
    return true;
  }

  VARTYPE target = CoercionTarget(tag);
  if (target == VT_EMPTY) return false;
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&in))) || FAILED(VariantChangeType(&v, &v, 0, target))) {
    VariantClear(&v);
    return false;
  }
  switch (tag) {
    case kTagObject: SetValuePointer(out, NewObjectBlockFor(V_UNKNOWN(&v)), out->tag); break;
    case kTagBool: out->lo = V_BOOL(&v) ? 1 : 0; break;
    case kTagText: SetValuePointer(out, TextFromWide(V_BSTR(&v), SysStringLen(V_BSTR(&v))), out->tag); break;
    case kTagByte: out->lo = V_UI1(&v); break;
    case kTagShort: out->lo = static_cast<uint32_t>(static_cast<int32_t>(V_I2(&v))); break;
    case kTagInt: out->lo = static_cast<uint32_t>(V_I4(&v)); break;
    case kTagLong: SetWords64(out, static_cast<uint64_t>(static_cast<int64_t>(V_I4(&v)))); break;
    case kTagFloat: std::memcpy(&out->lo, &V_R4(&v), 4); break;
    case kTagDouble:
    case kTagDateTime: {
      uint64_t bits;
      std::memcpy(&bits, tag == kTagDouble ? &V_R8(&v) : &V_DATE(&v), 8);
      SetWords64(out, bits);
      break;
    }
  }
  VariantClear(&v);
  return true;
}

namespace {

// The variable's old block takes what a fresh block holds (a reference,
// a record) once `empty` has released its own; a variable without a block
// is given the fresh one.
template <typename Block, typename Empty>
void Refill(void** slot, Block* fresh, Empty empty) {
  auto* old = static_cast<Block*>(*slot);
  if (!old) {
    *slot = fresh;
    return;
  }
  empty(old);
  *old = *fresh;
  FreeMemory(fresh);
}

}  // namespace

bool WriteVariantBack(const VARIANT& in, uint32_t tag, void* variable) {
  TaggedValue value;
  if (!variable || !VariantToValue(in, tag, &value)) return false;
  tag = BaseTag(tag);
  void** slot = static_cast<void**>(variable);
  if (IsObjectCompatibleTag(tag)) {
    Refill(slot, static_cast<ObjectBlock*>(ValuePointer(value)), ClearObjectBlock);
    return true;
  }
  if (tag == kTagVariant) {
    Refill(slot, static_cast<VARIANT*>(ValuePointer(value)), VariantClear);
    return true;
  }
  if (tag == kTagText) {
    FreeMemory(*slot);
    *slot = ValuePointer(value);
    return true;
  }
  uint64_t words = value.lo | (static_cast<uint64_t>(value.hi) << 32);
  std::memcpy(variable, &words, VariableSize(tag));
  return true;
}

void ResetResult(TaggedValue* result) {
  uint32_t tag = result->tag;
  *result = {0, 0, tag};
  if (tag == 0) return;
  if (IsObjectCompatibleTag(tag)) {
    SetValuePointer(result, NewObjectBlock(), tag);
  } else if (BaseTag(tag) == kTagVariant) {
    void* held = AllocateMemory(sizeof(VARIANT));
    std::memset(held, 0, sizeof(VARIANT));
    SetValuePointer(result, held, tag);
  }
}

}  // namespace qx
