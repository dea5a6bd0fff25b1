#include "runtime/Command.h"

#include <cmath>
#include <cstring>

namespace qx {

TaggedValue CallCommand(CommandFn command, int32_t count, TaggedValue* args) {
  TaggedValue result = {0, 0, 0};
  command(&result, count, args);
  return result;
}

bool ArgOmitted(int32_t count, const TaggedValue* args, int32_t i) {
  return i >= count || args[i].tag == 0;
}

TaggedValue ArgValue(int32_t count, const TaggedValue* args, int32_t i) {
  if (ArgOmitted(count, args, i)) return {0, 0, 0};
  TaggedValue v = args[i];
  if (v.tag & kTagByRef) {
    uint32_t tag = BaseTag(v.tag);
    const void* var = ValuePointer(v);
    if (!var) return {0, 0, tag};
    TaggedValue out = {0, 0, tag};
    switch (tag) {
      case kTagByte: out.lo = *static_cast<const uint8_t*>(var); break;
      case kTagShort: out.lo = static_cast<uint32_t>(*static_cast<const int16_t*>(var)); break;
      case kTagFloat:
      case kTagBool:
      case kTagInt: memcpy(&out.lo, var, 4); break;
      case kTagLong:
      case kTagDateTime:
      case kTagDouble: memcpy(&out.lo, var, 4); memcpy(&out.hi, static_cast<const char*>(var) + 4, 4); break;
      default: SetValuePointer(&out, *static_cast<void* const*>(var), tag); break;
    }
    return out;
  }
  return v;
}

const char* ArgText(int32_t count, const TaggedValue* args, int32_t i) {
  TaggedValue v = ArgValue(count, args, i);
  return v.tag == kTagText ? ValueText(v) : nullptr;
}

bool ValueToInt32(const TaggedValue& v, int32_t* out) {
  switch (BaseTag(v.tag)) {
    case kTagByte: *out = static_cast<uint8_t>(v.lo); return true;
    case kTagShort: *out = static_cast<int16_t>(v.lo); return true;
    case kTagInt: *out = static_cast<int32_t>(v.lo); return true;
    case kTagLong: *out = static_cast<int32_t>(v.lo); return true;
    case kTagFloat: {
      float f;
      memcpy(&f, &v.lo, 4);
      *out = std::isfinite(f) && std::fabs(f) < 2147483648.0f ? static_cast<int32_t>(f) : INT32_MIN;
      return true;
    }
    case kTagDouble: {
      double d = ValueDouble(v);
      // Out of range has no defined truncation in C++; the 32-bit product
      // gives the "integer indefinite" value, so do the same everywhere.
      *out = std::isfinite(d) && std::fabs(d) < 2147483648.0 ? static_cast<int32_t>(d) : INT32_MIN;
      return true;
    }
    default: return false;
  }
}

bool ArgIsNumber(int32_t count, const TaggedValue* args, int32_t i) {
  int32_t ignored;
  return ValueToInt32(ArgValue(count, args, i), &ignored);
}

int32_t ArgInt(int32_t count, const TaggedValue* args, int32_t i, int32_t fallback) {
  int32_t n;
  return ValueToInt32(ArgValue(count, args, i), &n) ? n : fallback;
}

}  // namespace qx
