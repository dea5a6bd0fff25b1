// How a kind's own property crosses between the kind (a RawProperty) and
// the value words of the helper table, decided by the property's value-type
// code: words, logicals, doubles, byte sets, texts, mouse pointers and fonts.
// Both the placed units' property entries and the services for units held
// in variables go through here.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Value.h"
#include "ui/UnitKind.h"

namespace qx {

// What a font conversion needs from the screen: the LOGFONTA that stands
// for a control without a font of its own (the default GUI font) and the
// screen's vertical pixels per inch.
struct FontBasis {
  std::string fallback;
  int32_t dpi = 96;
};

// The kind's raw value as a value; `element` selects within a font
// (FontRecord.h) and is not looked at otherwise. Texts and byte sets are
// new blocks owned by the receiver.
TaggedValue ValueOfRaw(uint32_t valueType, const RawProperty& raw, int32_t element,
                       const FontBasis& font);
// The value words as the kind takes them. A font is the kind's `current`
// one with the element written in. False when there is nothing to write: a
// font element out of range, or a whole record shorter than its six words.
bool RawOfValue(uint32_t valueType, uint32_t lo, uint32_t hi, int32_t element,
                const RawProperty& current, const FontBasis& font, RawProperty* out);

// The value words of a fresh text or byte set holding `bytes` (null when
// empty), and the bytes that value words of a text or byte set hold.
TaggedValue TextValueOf(const std::string& bytes);
TaggedValue ByteSetValueOf(const std::string& bytes);
std::string TextBytesOf(uint32_t lo, uint32_t hi);
std::string ByteSetBytesOf(uint32_t lo, uint32_t hi);

// Standard mouse-pointer numbers and the system cursor identifiers (IDC_*)
// they stand for:
//   0 the kind's own pointer   1 arrow        2 cross          3 I-beam
//   4 icon                     5 size         6 size NE-SW     7 size N-S
//   8 size NW-SE               9 size W-E    10 up arrow      11 hourglass
//  12 no                      13 arrow and hourglass           14 arrow and question mark
//  15 size all                16 hand
// A number (or identifier) that is not in the table passes unchanged, so a
// system identifier given as it is still names its cursor.
uint32_t SystemCursorOfPointer(uint32_t number);
uint32_t PointerOfSystemCursor(uint32_t cursorId);

}  // namespace qx
