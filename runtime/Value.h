// The one in-memory form of every value that crosses a call between the
// application, the runtime and the support libraries.
//
// Text: GBK, the program's code page (kProgramCodePage), in every text value
// and literal; the native build turns it into UTF-8 only where it meets the
// file system and the terminal (NativeText.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/KindTags.h"

namespace qx {

// Data-type tags. Top bits 10: a basic type; 00: (library << 16) | type of a
// library's unit or value type (KindTags.h). Bit 29 on an argument marks
// that the value word holds the address of the caller's variable.
enum : uint32_t {
  kTagByte = 0x80000101,
  kTagShort = 0x80000201,
  kTagInt = 0x80000301,
  kTagLong = 0x80000401,
  kTagFloat = 0x80000501,
  kTagDouble = 0x80000601,
  kTagBool = 0x80000002,
  kTagDateTime = 0x80000003,
  kTagText = 0x80000004,
  kTagByteSet = 0x80000005,

  kTagByRef = 0x20000000,
};

constexpr uint32_t BaseTag(uint32_t tag) { return tag & ~kTagByRef; }
constexpr bool IsBasicTag(uint32_t tag) { return (tag & 0xC0000000u) == 0x80000000u; }

// One argument or result: three 32-bit words, lo, hi, tag. A pointer lives
// in lo on the 32-bit product; the 64-bit host build needs hi for its upper
// half, which only the accessors below know about.
struct TaggedValue {
  uint32_t lo;
  uint32_t hi;
  uint32_t tag;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(void*) == 4);
static_assert(sizeof(TaggedValue) == 12);
static_assert(offsetof(TaggedValue, lo) == 0);
static_assert(offsetof(TaggedValue, hi) == 4);
static_assert(offsetof(TaggedValue, tag) == 8);
#endif

inline void* ValuePointer(const TaggedValue& v) {
#if UINTPTR_MAX == 0xFFFFFFFFu
  return reinterpret_cast<void*>(static_cast<uintptr_t>(v.lo));
#else
  return reinterpret_cast<void*>(static_cast<uintptr_t>(v.lo) |
                                 (static_cast<uintptr_t>(v.hi) << 32));
#endif
}

inline void SetValuePointer(TaggedValue* v, const void* p, uint32_t tag) {
  uintptr_t u = reinterpret_cast<uintptr_t>(p);
  v->lo = static_cast<uint32_t>(u);
#if UINTPTR_MAX == 0xFFFFFFFFu
  v->hi = 0;
#else
  v->hi = static_cast<uint32_t>(u >> 32);
#endif
  v->tag = tag;
}

inline char* ValueText(const TaggedValue& v) { return static_cast<char*>(ValuePointer(v)); }

inline TaggedValue MakeInt(int32_t i) { return {static_cast<uint32_t>(i), 0, kTagInt}; }
inline TaggedValue MakeBool(bool b) { return {b ? 1u : 0u, 0, kTagBool}; }
inline TaggedValue MakeByte(uint8_t b) { return {b, 0, kTagByte}; }
TaggedValue MakeDouble(double d);
TaggedValue MakeLong(int64_t i);
TaggedValue MakeTextValue(const char* text);        // lends the pointer
TaggedValue MakeByteSetValue(const void* byteSet);  // lends the pointer
inline TaggedValue Omitted() { return {0, 0, 0}; }

double ValueDouble(const TaggedValue& v);  // the double of a double-tagged value
int64_t ValueLong(const TaggedValue& v);

// Byte set and array blocks: int32 dimension count, the sizes, the elements.
struct ArrayHeader {
  int32_t dimensions;
  int32_t sizes[1];  // really `dimensions` of them
};

}  // namespace qx
