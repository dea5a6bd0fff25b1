// A font as handlers see it, the seven-field font record, and how it maps
// onto the 60-byte LOGFONTA that a kind stores and draws with.
//
// A property of value type 1013 is read and written through an element
// index: -1 is the whole record, 0 to 6 one field (kFontAngle ...
// kFontFace), the others then kept as the control's current font has them.
//
// The whole record travels as a byte set, little-endian:
//   offset  0  int32 angle: tenths of a degree, 0 to 3599 (counter-clockwise)
//   offset  4  int32 bold: 0 or 1
//   offset  8  int32 italic: 0 or 1
//   offset 12  int32 strike-out: 0 or 1
//   offset 16  int32 underline: 0 or 1
//   offset 20  int32 character size, in points (1/72 inch at the screen's
//              resolution): the height of the characters themselves, their
//              internal leading not counted; 0 is the font's default size
//   offset 24  the face name's bytes, to the end of the set or to a zero
//              byte, whichever comes first
// One field alone crosses as its own kind of value: the angle and the size
// as integers, the four styles as logicals, the face name as a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qx {

enum FontElement : int32_t {
  kFontWhole = -1,
  kFontAngle = 0,
  kFontBold,
  kFontItalic,
  kFontStrikeOut,
  kFontUnderline,
  kFontSize,
  kFontFace,
};

constexpr size_t kLogFontBytes = 60;
constexpr size_t kFontFaceBytes = 32;        // the LOGFONTA field, its zero included
constexpr size_t kFontRecordFixedBytes = 24;  // the six words before the face name
constexpr int32_t kFullCircle = 3600;         // tenths of a degree
constexpr int32_t kBoldWeight = 700;

// The face that stands in for an empty name or one too long for the field.
extern const char kFallbackFace[];

struct FontRecord {
  int32_t angle = 0;
  bool bold = false, italic = false, strikeOut = false, underline = false;
  int32_t size = 0;
  std::string face;
};

// The record of a stored LOGFONTA (`dpi`: the screen's pixels per inch,
// vertically). A block shorter than a LOGFONTA reads as all zero.
FontRecord FontRecordOfLogFont(const std::string& logfont, int32_t dpi);
// `base` (a LOGFONTA, or nothing) with field `element` of the record
// written in, or all seven for kFontWhole; the fields not written, and those
// a record does not have (width, character set, quality, pitch), stay. The
// angle is taken modulo a full circle, bold becomes weight 700 and not bold
// weight 0, and an empty face name or one that does not fit the field
// becomes kFallbackFace, whether it was written now or not.
std::string LogFontWithRecord(const std::string& base, const FontRecord& record, int32_t element,
                              int32_t dpi);

// The record's byte-set bytes, and back; false when the bytes are shorter
// than the six words.
std::string FontRecordBytes(const FontRecord& record);
bool FontRecordFromBytes(const std::string& bytes, FontRecord* out);

}  // namespace qx
