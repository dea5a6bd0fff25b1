#include "runtime/Value.h"

#include <cstring>

namespace qx {

TaggedValue MakeDouble(double d) {
  uint64_t bits;
  memcpy(&bits, &d, 8);
  return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), kTagDouble};
}

TaggedValue MakeLong(int64_t i) {
  uint64_t bits = static_cast<uint64_t>(i);
  return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), kTagLong};
}

TaggedValue MakeTextValue(const char* text) {
  TaggedValue v;
  SetValuePointer(&v, text, kTagText);
  return v;
}

TaggedValue MakeByteSetValue(const void* byteSet) {
  TaggedValue v;
  SetValuePointer(&v, byteSet, kTagByteSet);
  return v;
}

double ValueDouble(const TaggedValue& v) {
  uint64_t bits = v.lo | (static_cast<uint64_t>(v.hi) << 32);
  double d;
  memcpy(&d, &bits, 8);
  return d;
}

int64_t ValueLong(const TaggedValue& v) {
  return static_cast<int64_t>(v.lo | (static_cast<uint64_t>(v.hi) << 32));
}

}  // namespace qx
