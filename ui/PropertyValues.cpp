#include "ui/PropertyValues.h"

#include <cstring>
#include <iterator>

#include "runtime/Text.h"
#include "ui/FontRecord.h"

namespace qx {
namespace {

bool IsWordCode(uint32_t code) {
  switch (code) {
    case kValueInt: case kValueInt2: case kValueChoice: case kValueColour:
    case kValueBackColour: case kValueColour2:
      return true;
    default: return false;
  }
}
bool IsDoubleCode(uint32_t code) { return code == kValueDouble || code == kValueDouble2; }
bool IsByteSetCode(uint32_t code) {
  switch (code) {
    case kValuePicture: case kValueIcon: case kValueSound: case kValueData: case kValueData2:
    case kValuePointer:
      return true;
    default: return false;
  }
}

// The first word of pointer data, translated by `map`.
std::string WithPointerWord(std::string data, uint32_t (*map)(uint32_t)) {
  if (data.size() < 4) return data;
  uint32_t word;
  memcpy(&word, data.data(), 4);
  word = map(word);
  memcpy(&data[0], &word, 4);
  return data;
}

// The control's font, or the fallback when it has none.
const std::string& FontOf(const RawProperty& raw, const FontBasis& basis) {
  return raw.bytes.size() >= kLogFontBytes ? raw.bytes : basis.fallback;
}

TaggedValue FontValue(const RawProperty& raw, int32_t element, const FontBasis& basis) {
  FontRecord r = FontRecordOfLogFont(FontOf(raw, basis), basis.dpi);
  switch (element) {
    case kFontWhole: return ByteSetValueOf(FontRecordBytes(r));
    case kFontAngle: return MakeInt(r.angle);
    case kFontBold: return MakeBool(r.bold);
    case kFontItalic: return MakeBool(r.italic);
    case kFontStrikeOut: return MakeBool(r.strikeOut);
    case kFontUnderline: return MakeBool(r.underline);
    case kFontSize: return MakeInt(r.size);
    case kFontFace: return TextValueOf(r.face);
    default: return {0, 0, 0};
  }
}

bool FontRaw(uint32_t lo, uint32_t hi, int32_t element, const RawProperty& current,
             const FontBasis& basis, RawProperty* out) {
  const std::string& base = FontOf(current, basis);
  FontRecord r;
  switch (element) {
    case kFontWhole:
      if (!FontRecordFromBytes(ByteSetBytesOf(lo, hi), &r)) return false;
      break;
    case kFontAngle: r.angle = static_cast<int32_t>(lo); break;
    case kFontBold: r.bold = lo != 0; break;
    case kFontItalic: r.italic = lo != 0; break;
    case kFontStrikeOut: r.strikeOut = lo != 0; break;
    case kFontUnderline: r.underline = lo != 0; break;
    case kFontSize: r.size = static_cast<int32_t>(lo); break;
    case kFontFace: r.face = TextBytesOf(lo, hi); break;
    default: return false;
  }
  out->bytes = LogFontWithRecord(base, r, element, basis.dpi);
  return true;
}

// Number and identifier, in the order of the numbers.
struct PointerCursor {
  uint32_t number, cursor;
};
constexpr PointerCursor kPointers[] = {
    {1, 32512},  {2, 32515},  {3, 32513},  {4, 32641},  {5, 32640},  {6, 32643},
    {7, 32645},  {8, 32642},  {9, 32644},  {10, 32516}, {11, 32514}, {12, 32648},
    {13, 32650}, {14, 32651}, {15, 32646}, {16, 32649},
};
static_assert(std::size(kPointers) == 16);

}  // namespace

TaggedValue ByteSetValueOf(const std::string& bytes) {
  TaggedValue v;
  SetValuePointer(&v, MakeByteSet(bytes.data(), static_cast<int32_t>(bytes.size())), kTagByteSet);
  return v;
}

TaggedValue TextValueOf(const std::string& bytes) {
  TaggedValue v;
  SetValuePointer(&v, MakeText(bytes.data(), static_cast<int32_t>(bytes.size())), kTagText);
  return v;
}

std::string ByteSetBytesOf(uint32_t lo, uint32_t hi) {
  TaggedValue v = {lo, hi, 0};
  const void* set = ValuePointer(v);
  return set ? std::string(reinterpret_cast<const char*>(ByteSetBytes(set)), ByteSetLength(set))
             : std::string();
}

std::string TextBytesOf(uint32_t lo, uint32_t hi) {
  TaggedValue v = {lo, hi, 0};
  const char* text = ValueText(v);
  return text ? text : "";
}

uint32_t SystemCursorOfPointer(uint32_t number) {
  for (const PointerCursor& p : kPointers)
    if (p.number == number) return p.cursor;
  return number;
}

uint32_t PointerOfSystemCursor(uint32_t cursorId) {
  for (const PointerCursor& p : kPointers)
    if (p.cursor == cursorId) return p.number;
  return cursorId;
}

TaggedValue ValueOfRaw(uint32_t code, const RawProperty& raw, int32_t element,
                       const FontBasis& font) {
  if (IsWordCode(code)) return MakeInt(raw.i);
  if (code == kValueLogical) return MakeBool(raw.i == 1);
  if (IsDoubleCode(code)) return MakeDouble(raw.d);
  if (code == kValueFont) return FontValue(raw, element, font);
  if (code == kValuePointer)
    return ByteSetValueOf(WithPointerWord(raw.bytes, PointerOfSystemCursor));
  if (IsByteSetCode(code)) return ByteSetValueOf(raw.bytes);
  return TextValueOf(raw.bytes);
}

bool RawOfValue(uint32_t code, uint32_t lo, uint32_t hi, int32_t element,
                const RawProperty& current, const FontBasis& font, RawProperty* out) {
  *out = RawProperty();
  if (IsWordCode(code)) {
    out->i = static_cast<int32_t>(lo);
    if (code == kValueChoice && out->i < 0) out->i = 0;
  } else if (code == kValueLogical) {
    out->i = lo != 0 ? 1 : 0;
  } else if (IsDoubleCode(code)) {
    uint64_t bits = lo | (static_cast<uint64_t>(hi) << 32);
    memcpy(&out->d, &bits, sizeof out->d);
  } else if (code == kValueFont) {
    return FontRaw(lo, hi, element, current, font, out);
  } else if (code == kValuePointer) {
    out->bytes = WithPointerWord(ByteSetBytesOf(lo, hi), SystemCursorOfPointer);
  } else if (IsByteSetCode(code)) {
    out->bytes = ByteSetBytesOf(lo, hi);
  } else {
    out->bytes = TextBytesOf(lo, hi);
  }
  return true;
}

}  // namespace qx
