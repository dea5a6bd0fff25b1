#include "ui/FontRecord.h"

#include <cstdlib>
#include <cstring>

namespace qx {
namespace {

// LOGFONTA field offsets.
enum : size_t {
  kHeightAt = 0,
  kEscapementAt = 8,
  kOrientationAt = 12,
  kWeightAt = 16,
  kItalicAt = 20,
  kUnderlineAt = 21,
  kStrikeOutAt = 22,
  kFaceAt = 28,
};
static_assert(kFaceAt + kFontFaceBytes == kLogFontBytes);

constexpr int32_t kPointsPerInch = 72;

int32_t Word(const std::string& b, size_t at) {
  uint32_t v = 0;
  memcpy(&v, b.data() + at, 4);
  return static_cast<int32_t>(v);
}
void PutWord(std::string* b, size_t at, int32_t v) { memcpy(&(*b)[at], &v, 4); }

// a * b / c rounded half away from zero, in 64 bits.
int32_t Scale(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  int64_t n = static_cast<int64_t>(a) * b;
  int64_t half = (c > 0 ? c : -c) / 2;
  int64_t q = (n >= 0 ? n + half : n - half) / c;
  return static_cast<int32_t>(q);
}

int32_t WithinCircle(int32_t angle) {
  int32_t a = angle % kFullCircle;
  return a < 0 ? a + kFullCircle : a;
}

}  // namespace

const char kFallbackFace[] = "宋体";

FontRecord FontRecordOfLogFont(const std::string& logfont, int32_t dpi) {
  FontRecord r;
  if (logfont.size() < kLogFontBytes) return r;
  r.angle = WithinCircle(Word(logfont, kEscapementAt));
  r.bold = Word(logfont, kWeightAt) >= kBoldWeight;
  r.italic = logfont[kItalicAt] != 0;
  r.underline = logfont[kUnderlineAt] != 0;
  r.strikeOut = logfont[kStrikeOutAt] != 0;
  // A negative height is the characters' own, a positive one the cell's;
  // either way the size is the height the font was asked for.
  r.size = Scale(std::abs(Word(logfont, kHeightAt)), kPointsPerInch, dpi);
  const char* face = logfont.data() + kFaceAt;
  r.face.assign(face, strnlen(face, kFontFaceBytes));
  return r;
}

std::string LogFontWithRecord(const std::string& base, const FontRecord& r, int32_t element,
                              int32_t dpi) {
  std::string lf = base.size() >= kLogFontBytes ? base.substr(0, kLogFontBytes)
                                                : std::string(kLogFontBytes, '\0');
  auto wanted = [element](int32_t field) { return element == kFontWhole || element == field; };
  if (wanted(kFontAngle)) {
    int32_t angle = WithinCircle(r.angle);
    PutWord(&lf, kEscapementAt, angle);
    PutWord(&lf, kOrientationAt, angle);
  }
  if (wanted(kFontBold)) PutWord(&lf, kWeightAt, r.bold ? kBoldWeight : 0);
  if (wanted(kFontItalic)) lf[kItalicAt] = r.italic ? 1 : 0;
  if (wanted(kFontStrikeOut)) lf[kStrikeOutAt] = r.strikeOut ? 1 : 0;
  if (wanted(kFontUnderline)) lf[kUnderlineAt] = r.underline ? 1 : 0;
  if (wanted(kFontSize))
    PutWord(&lf, kHeightAt, r.size > 0 ? -Scale(r.size, dpi, kPointsPerInch) : 0);
  // The face rule holds for every font that goes to a kind, also one whose
  // face was not written now.
  const char* stored = lf.data() + kFaceAt;
  std::string face =
      wanted(kFontFace) ? r.face : std::string(stored, strnlen(stored, kFontFaceBytes));
  if (face.empty() || face.size() >= kFontFaceBytes) face = kFallbackFace;
  face.resize(kFontFaceBytes, '\0');
  lf.replace(kFaceAt, kFontFaceBytes, face);
  return lf;
}

std::string FontRecordBytes(const FontRecord& r) {
  std::string b(kFontRecordFixedBytes, '\0');
  const int32_t words[] = {r.angle, r.bold, r.italic, r.strikeOut, r.underline, r.size};
  for (size_t i = 0; i < 6; ++i) PutWord(&b, 4 * i, words[i]);
  return b + r.face;
}

bool FontRecordFromBytes(const std::string& b, FontRecord* r) {
  if (b.size() < kFontRecordFixedBytes) return false;
  r->angle = Word(b, 0);
  r->bold = Word(b, 4) != 0;
  r->italic = Word(b, 8) != 0;
  r->strikeOut = Word(b, 12) != 0;
  r->underline = Word(b, 16) != 0;
  r->size = Word(b, 20);
  const char* face = b.data() + kFontRecordFixedBytes;
  r->face.assign(face, strnlen(face, b.size() - kFontRecordFixedBytes));
  return true;
}

}  // namespace qx
