#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Commands.h"
#include "runtime/DateTime.h"
#include "runtime/LeadByte.h"
#include "runtime/Memory.h"
#include "runtime/Text.h"

namespace qx {
namespace {

inline unsigned char AsciiLower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

bool MatchesAt(const unsigned char* at, const unsigned char* search, size_t n,
               bool caseSensitive) {
  if (caseSensitive) return memcmp(at, search, n) == 0;
  for (size_t i = 0; i < n; ++i)
    if (AsciiLower(at[i]) != AsciiLower(search[i])) return false;
  return true;
}

bool ArgBool(int32_t count, const TaggedValue* args, int32_t i, bool fallback) {
  TaggedValue v = ArgValue(count, args, i);
  if (v.tag == 0) return fallback;
  if (v.tag == kTagBool) return v.lo != 0;
  int32_t n;
  return ValueToInt32(v, &n) ? n != 0 : fallback;
}

void SetText(TaggedValue* result, char* text) { SetValuePointer(result, text, kTagText); }

}  // namespace

std::string ReplaceTextSpan(std::string_view textIn, std::string_view searchIn,
                            std::string_view replacement, size_t start, int64_t count,
                            bool caseSensitive) {
  const unsigned char* text = reinterpret_cast<const unsigned char*>(textIn.data());
  const unsigned char* search = reinterpret_cast<const unsigned char*>(searchIn.data());
  const size_t length = textIn.size();
  const size_t searchLength = searchIn.size();

  if (length == 0 || searchLength == 0 || start >= length || count == 0)
    return std::string(textIn);

  std::string out;
  out.reserve(length);
  out.append(textIn.data(), start);
  size_t pos = start;
  while (length - pos >= searchLength) {
    if (MatchesAt(text + pos, search, searchLength, caseSensitive)) {
      out.append(replacement);
      pos += searchLength;
      if (count != -1 && --count == 0) break;
    } else if (IsLeadByte(text[pos])) {
      if (pos + 1 >= length) {  // a stray lead byte at the very end
        pos = length;
        break;
      }
      out.append(reinterpret_cast<const char*>(text + pos), 2);
      pos += 2;
    } else {
      out.push_back(static_cast<char>(text[pos++]));
    }
  }
  if (pos < length) out.append(reinterpret_cast<const char*>(text + pos), length - pos);
  return out;
}

char* ReplaceTextBytes(const char* textIn, const char* searchIn, const char* replacementIn,
                       int32_t start, int32_t count, bool caseSensitive) {
  std::string out = ReplaceTextSpan(textIn ? textIn : "", searchIn ? searchIn : "",
                                    replacementIn ? replacementIn : "",
                                    start < 0 ? 0 : static_cast<size_t>(start), count,
                                    caseSensitive);
  // A result past the runtime's text limit is refused as its allocation
  // would be, never cut to a shorter (or negative) length.
  if (out.size() >= static_cast<size_t>(INT32_MAX)) ReportTextTooLarge();
  return MakeText(out.data(), static_cast<int32_t>(out.size()));
}

void* SplitTextBytes(const char* textIn, const char* separatorIn, int32_t maximum) {
  const unsigned char* text = reinterpret_cast<const unsigned char*>(textIn ? textIn : "");
  const char* separator = separatorIn ? separatorIn : "";
  int32_t length = TextLength(textIn);
  int32_t sepLength = TextLength(separatorIn);

  if (length == 0 || maximum == 0) return MakePointerArray(0);
  if (sepLength == 0) {
    void* array = MakePointerArray(1);
    static_cast<char**>(ArrayElements(array))[0] = CopyText(textIn);
    return array;
  }

  // Positions first, blocks after: the count decides the array's size.
  std::vector<std::pair<int32_t, int32_t>> parts;
  int32_t pos = 0, segment = 0;
  bool exhausted = false;
  while (length - pos >= sepLength) {
    if (memcmp(text + pos, separator, sepLength) == 0) {
      parts.emplace_back(segment, pos - segment);
      pos += sepLength;
      segment = pos;
      if (maximum != -1 && --maximum == 0) {
        exhausted = true;
        break;
      }
    } else if (IsLeadByte(text[pos])) {
      if (text[pos + 1] == 0) break;
      pos += 2;
    } else {
      ++pos;
    }
  }
  if (!exhausted && segment < length) parts.emplace_back(segment, length - segment);

  void* array = MakePointerArray(static_cast<int32_t>(parts.size()));
  char** elements = static_cast<char**>(ArrayElements(array));
  for (size_t i = 0; i < parts.size(); ++i)
    elements[i] = MakeText(textIn + parts[i].first, parts[i].second);
  return array;
}

void TextLength(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeInt(TextLength(ArgText(count, args, 0)));
}

void LeftText(TaggedValue* result, int32_t count, TaggedValue* args) {
  const char* text = ArgText(count, args, 0);
  int32_t n = ArgInt(count, args, 1, 0);
  int32_t length = TextLength(text);
  if (n > length) n = length;
  SetText(result, MakeText(text, n));
}

void CharFromCode(TaggedValue* result, int32_t count, TaggedValue* args) {
  char c = static_cast<char>(ArgInt(count, args, 0, 0) & 0xFF);
  SetText(result, MakeText(&c, c ? 1 : 0));
}

void ReplaceText(TaggedValue* result, int32_t count, TaggedValue* args) {
  const char* text = ArgText(count, args, 0);
  const char* search = ArgText(count, args, 1);
  const char* replacement = ArgText(count, args, 2);
  int32_t start = ArgOmitted(count, args, 3) ? 0 : ArgInt(count, args, 3, 1) - 1;
  int32_t limit = ArgOmitted(count, args, 4) ? -1 : ArgInt(count, args, 4, -1);
  bool caseSensitive = ArgBool(count, args, 5, false);
  SetText(result, ReplaceTextBytes(text, search, replacement, start, limit, caseSensitive));
}

void SplitText(TaggedValue* result, int32_t count, TaggedValue* args) {
  const char* text = ArgText(count, args, 0);
  const char* separator = ArgOmitted(count, args, 1) ? "," : ArgText(count, args, 1);
  int32_t maximum = ArgOmitted(count, args, 2) ? -1 : ArgInt(count, args, 2, -1);
  if (maximum < 0 && !ArgOmitted(count, args, 2)) maximum = 0;
  SetValuePointer(result, SplitTextBytes(text, separator, maximum), kTagText);
  result->tag = 0;  // an array result carries no basic tag
}

void ToByteSet(TaggedValue* result, int32_t count, TaggedValue* args) {
  TaggedValue v = ArgValue(count, args, 0);
  void* bytes = nullptr;
  switch (v.tag) {
    case kTagText: {
      const char* t = ValueText(v);
      bytes = MakeByteSet(t, TextLength(t));
      break;
    }
    case kTagByteSet: {
      const void* b = ValuePointer(v);
      bytes = MakeByteSet(ByteSetBytes(b), ByteSetLength(b));
      break;
    }
    case kTagByte: bytes = MakeByteSet(&v.lo, 1); break;
    case kTagShort: bytes = MakeByteSet(&v.lo, 2); break;
    case kTagInt:
    case kTagBool:
    case kTagFloat: bytes = MakeByteSet(&v.lo, 4); break;
    case kTagLong:
    case kTagDouble: {
      uint32_t words[2] = {v.lo, v.hi};
      bytes = MakeByteSet(words, 8);
      break;
    }
    default: break;
  }
  SetValuePointer(result, bytes, kTagByteSet);
}

void ToText(TaggedValue* result, int32_t count, TaggedValue* args) {
  TaggedValue v = ArgValue(count, args, 0);
  char buffer[64];
  const char* text = nullptr;
  switch (v.tag) {
    case kTagText: SetText(result, CopyText(ValueText(v))); return;
    case kTagDouble: snprintf(buffer, sizeof buffer, "%.13g", ValueDouble(v)); text = buffer; break;
    case kTagFloat: {
      float f;
      memcpy(&f, &v.lo, 4);
      snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(f));
      text = buffer;
      break;
    }
    case kTagLong: snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(ValueLong(v))); text = buffer; break;
    case kTagBool: text = v.lo ? "真" : "假"; break;
    case kTagDateTime: {
      std::string date = DateTimeText(ValueDouble(v));
      SetText(result, MakeText(date.data(), static_cast<int32_t>(date.size())));
      return;
    }
    case kTagByteSet: {
      const void* b = ValuePointer(v);
      // The bytes up to the first zero, as a text would hold them.
      const char* p = reinterpret_cast<const char*>(ByteSetBytes(b));
      int32_t n = ByteSetLength(b);
      int32_t len = 0;
      while (len < n && p[len]) ++len;
      SetText(result, MakeText(p, len));
      return;
    }
    default: {
      int32_t n;
      if (ValueToInt32(v, &n)) {
        snprintf(buffer, sizeof buffer, "%d", static_cast<int>(n));
        text = buffer;
      }
      break;
    }
  }
  SetText(result, text ? MakeText(text, TextLength(text)) : nullptr);
}

}  // namespace qx
