#include "reader/Xml.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "reader/ByteScan.h"
#include "runtime/encoding/Gbk.h"

namespace qx::xml {
namespace {

// Character classes, looked up once per byte in the scanning loops.
enum : uint8_t { kSpace = 1, kNameEnd = 2, kColon = 4, kTextStop = 8, kValueMark = 16 };

struct Classes {
  uint8_t of[256] = {};
  constexpr Classes() {
    for (unsigned char c : {' ', '\t', '\n', '\r'}) of[c] |= kSpace | kNameEnd;
    for (unsigned char c : {'>', '/', '=', '<'}) of[c] |= kNameEnd;
    of[static_cast<unsigned char>(':')] |= kColon;
    for (unsigned char c : {'<', '&', '\r'}) of[c] |= kTextStop;
    for (unsigned char c : {'&', '\r', '\n', '\t', '<', '"', '\''}) of[c] |= kValueMark;
  }
};
constexpr Classes kClasses;

inline uint8_t ClassOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }

using reader::FindAnyOf;
inline bool IsSpace(char c) { return ClassOf(c) & kSpace; }
inline bool IsNameEnd(char c) { return ClassOf(c) & kNameEnd; }

// Scans a name from p; returns where it ends and sets *colon to its first
// ':' (or npos).
inline size_t ScanName(const char* s, size_t p, size_t n, size_t* colon) {
  *colon = std::string_view::npos;
  for (; p < n; ++p) {
    uint8_t k = ClassOf(s[p]);
    if (k & kNameEnd) break;
    if ((k & kColon) && *colon == std::string_view::npos) *colon = p;
  }
  return p;
}

inline void SplitAt(const char* s, size_t begin, size_t end, size_t colon, std::string_view* prefix,
                    std::string_view* local) {
  if (colon == std::string_view::npos) {
    *prefix = {};
    *local = std::string_view(s + begin, end - begin);
  } else {
    *prefix = std::string_view(s + begin, colon - begin);
    *local = std::string_view(s + colon + 1, end - colon - 1);
  }
}

inline bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// "&#NNNN;" or "&#NNNNN;" at s[0] == '&' (n bytes there), the decimal
// references text written as references is made of: its length and
// character, or 0 for anything else (ParseReference then decides). Eight
// bytes are looked at and their digits added up at once.
[[gnu::always_inline]] inline size_t ShortDecimalReference(const char* s, size_t n, uint32_t* cp) {
  if constexpr (std::endian::native != std::endian::little) {
    return 0;
  } else {
    if (n < 8) return 0;
    uint64_t x;
    std::memcpy(&x, s, 8);
    // Bytes 2 to 6 digits: each 0x30..0x39, that is high nibble 3, and 3
    // still after adding 6. Four digits when byte 6 is the ';'.
    constexpr uint64_t kHigh = 0x00F0F0F0F0F00000u, kSix = 0x0006060606060000u;
    const uint64_t nibbles = (x & kHigh) | (((x + kSix) & kHigh) >> 4);
    size_t len;
    if ((x & 0xFF0000000000FFFFu) == 0x3B00000000002326u && nibbles == 0x0033333333330000u) {
      len = 8;
    } else if ((x & 0x00FF00000000FFFFu) == 0x003B000000002326u &&
               (nibbles & 0x0000FFFFFFFF0000u) == 0x0000333333330000u) {
      len = 7;
    } else {
      return 0;
    }
    // Digit bytes d0..d4 from the bottom; pairs d0d1 and d2d3 in bytes 0
    // and 2, then their number, then the fifth digit.
    const uint64_t d = (x >> 16) - 0x0000003030303030u;
    const uint64_t pairs = d * 10 + (d >> 8);
    uint32_t v = static_cast<uint32_t>((pairs & 0xFF) * 100 + ((pairs >> 16) & 0xFF));
    if (len == 8) v = v * 10 + static_cast<uint32_t>((d >> 32) & 0xFF);
    if (v == 0 || v - 0xD800u < 0x800u) return 0;  // no NUL, no surrogate
    *cp = v;
    return len;
  }
}

// Parses the reference that starts at s[0] == '&' (n bytes available).
// Returns its length (through ';') and the character, or 0 when it is no
// predefined entity or valid character reference. A reference is at most
// kMaxReference bytes long: one with more leading zeros is refused.
constexpr size_t kMaxReference = 13;

[[gnu::always_inline]] inline size_t ParseReference(const char* s, size_t n, uint32_t* cp) {
  if (const size_t len = ShortDecimalReference(s, n, cp)) return len;
  if (n >= 3 && s[1] == '#') {
    const size_t limit = n < kMaxReference ? n : kMaxReference;
    uint32_t v = 0;
    size_t i;
    if (s[2] != 'x') {
      for (i = 2; i < limit; ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - unsigned{'0'};
        if (d > 9) break;
        v = v * 10 + d;
        if (v > 0x10FFFF) return 0;
      }
      if (i == 2) return 0;
    } else {
      for (i = 3; i < limit; ++i) {
        const unsigned c = static_cast<unsigned char>(s[i]);
        unsigned d;
        if (c - unsigned{'0'} < 10u) {
          d = c - '0';
        } else if ((c | 0x20u) - unsigned{'a'} < 6u) {
          d = (c | 0x20u) - 'a' + 10u;
        } else {
          break;
        }
        v = v * 16 + d;
        if (v > 0x10FFFF) return 0;
      }
      if (i == 3) return 0;
    }
    if (i == limit || s[i] != ';') return 0;
    if (v == 0 || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *cp = v;
    return i + 1;
  }
  auto is = [&](const char* name, size_t len) { return n >= len && std::memcmp(s, name, len) == 0; };
  switch (n >= 2 ? s[1] : 0) {
    case 'l':
      if (is("&lt;", 4)) return *cp = '<', 4;
      break;
    case 'g':
      if (is("&gt;", 4)) return *cp = '>', 4;
      break;
    case 'a':
      if (is("&amp;", 5)) return *cp = '&', 5;
      if (is("&apos;", 6)) return *cp = '\'', 6;
      break;
    case 'q':
      if (is("&quot;", 6)) return *cp = '"', 6;
      break;
  }
  return 0;
}

using gbk::PutUtf8;

// Decodes raw text or an attribute value onto *out. No reference is
// shorter than what it stands for, so the output fits in raw.size() bytes
// and is written in place, run by run. A '&' that starts no valid reference
// (the Reader refused those already) stays literal.
void Decode(std::string_view raw, bool attribute, std::string* out) {
  const size_t old = out->size();
  out->resize(old + raw.size());
  char* w = out->data() + old;
  const char* p = raw.data();
  const char* const end = p + raw.size();
  while (p < end) {
    const char* q = p;
    if (attribute) {
      while (q < end && *q != '&' && *q != '\r' && *q != '\n' && *q != '\t') ++q;
    } else {
      while (q < end && *q != '&' && *q != '\r') ++q;
    }
    std::memcpy(w, p, static_cast<size_t>(q - p));
    w += q - p;
    if (q == end) break;
    const char c = *q;
    if (c == '&') {
      uint32_t cp = 0;
      size_t len = ParseReference(q, static_cast<size_t>(end - q), &cp);
      if (len == 0) {
        *w++ = '&';
        p = q + 1;
      } else {
        w = PutUtf8(cp, w);
        p = q + len;
      }
    } else if (c == '\r') {
      *w++ = attribute ? ' ' : '\n';
      p = q + 1;
      if (p < end && *p == '\n') ++p;
    } else {
      *w++ = ' ';
      p = q + 1;
    }
  }
  out->resize(static_cast<size_t>(w - out->data()));
}

// One character (below U+110000, no surrogate) as UTF-8 at w, in one
// four-byte store for the three-byte form that CJK text is made of: the
// caller has a byte to spare after it.
[[gnu::always_inline]] inline char* PutUtf8Wide(uint32_t cp, char* w) {
  if (std::endian::native == std::endian::little && cp - 0x800u < 0xF800u) {
    const uint32_t bytes = 0x008080E0u | (cp >> 12) | ((cp << 2) & 0x3F00u) | ((cp & 0x3Fu) << 16);
    std::memcpy(w, &bytes, 4);
    return w + 3;
  }
  return PutUtf8(cp, w);
}


bool CheckEntities(std::string_view s) {
  const char* p = s.data();
  const char* const end = p + s.size();
  while ((p = static_cast<const char*>(std::memchr(p, '&', static_cast<size_t>(end - p))))) {
    uint32_t cp;
    size_t len = ParseReference(p, static_cast<size_t>(end - p), &cp);
    if (len == 0) return false;
    p += len;
  }
  return true;
}

}  // namespace

void AppendDecoded(std::string_view raw, bool attribute, std::string* out) {
  Decode(raw, attribute, out);
}

namespace {

// Copies the bytes from p that need no decoding to *w, up to the first
// '<', '&', CR or `mark` (or end), which it returns; the scan is the copy.
// Sixteen bytes a step where there is SSE2, stored whole before the stop
// is known: the caller's room (end - p past *w, at least) holds them.
inline const char* CopyRun(const char* p, const char* end, char** w, char mark) {
  char* out = *w;
#if defined(__SSE2__)
  const __m128i lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), cr = _mm_set1_epi8('\r'),
                marked = _mm_set1_epi8(mark);
  for (; end - p >= 16; p += 16, out += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), x);
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, lt), _mm_cmpeq_epi8(x, amp)),
                                                    _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, marked))));
    if (mask) {
      const int k = __builtin_ctz(static_cast<unsigned>(mask));
      *w = out + k;
      return p + k;
    }
  }
#endif
  for (; p < end; ++p) {
    const char c = *p;
    if (c == '<' || c == '&' || c == '\r' || c == mark) break;
    *out++ = c;
  }
  *w = out;
  return p;
}

}  // namespace

size_t DecodeText(const char* p, const char* end, char* out, char mark, const char** stop, bool* marked) {
  char* w = out;
  bool seen = false;
  for (;;) {
    // Text written as references starts with one and ends with one before
    // its end tag: no run to look for there (CopyRun would stop at once).
    if (p != end && *p != '&' && *p != '<') p = CopyRun(p, end, &w, mark);
    if (p == end || *p == '<') break;
    const char c = *p;
    if (c == '\r') {  // CR, alone or before LF, ends a line as LF
      *w++ = '\n';
      ++p;
      if (p < end && *p == '\n') ++p;
      continue;
    }
    if (c != '&') {
      seen = true;
      *w++ = c;
      ++p;
      continue;
    }
    // Runs of short decimal references to characters of three UTF-8
    // bytes, as CJK text written as references is, in a loop of their own.
    // A reference is longer than its character: the spare byte of
    // PutUtf8Wide's store is one the text has not been written to yet.
    uint32_t cp = 0;
    size_t len;
    while ((len = ShortDecimalReference(p, static_cast<size_t>(end - p), &cp)) != 0 && cp - 0x800u < 0xF800u) {
      w = PutUtf8Wide(cp, w);
      p += len;
    }
    if (p == end || *p != '&') continue;
    len = ParseReference(p, static_cast<size_t>(end - p), &cp);
    if (len == 0) return std::string_view::npos;
    seen |= cp == static_cast<unsigned char>(mark);
    w = PutUtf8Wide(cp, w);
    p += len;
  }
  *stop = p;
  *marked = seen;
  return static_cast<size_t>(w - out);
}

std::string_view Reader::Ahead() {
  if (failed_ || pendingEnd_ || !started_) return {};
  if (popPending_) {
    stackEnds_.pop_back();
    popPending_ = false;
  }
  return doc_.substr(pos_);
}

Reader::Reader(std::string_view document) : doc_(document) {
  // A UTF-8 byte order mark is allowed before the declaration.
  if (doc_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  started_ = true;
  attrs_.reserve(16);
  stackEnds_.reserve(32);
}

Reader::Reader(Source* source, size_t window) : source_(source), eof_(false) {
  window_.resize(window ? window : 1);
  doc_ = std::string_view(window_.data(), 0);
  attrs_.reserve(16);
  stackEnds_.reserve(32);
}

Token Reader::Fail(const char* message) {
  failed_ = true;
  error_ = message;
  return Token::Error;
}

bool Reader::Refill() {
  const size_t keep = doc_.size() - pos_;
  if (pos_) std::memmove(window_.data(), window_.data() + pos_, keep);
  base_ += pos_;
  pos_ = 0;
  // A token that fills half the window doubles it, so that a long one is
  // rescanned a few times only.
  if (keep >= window_.size() / 2) window_.resize(window_.size() * 2);
  size_t filled = keep;
  while (filled < window_.size()) {
    size_t got = 0;
    std::string message;
    if (!source_->Read(window_.data() + filled, window_.size() - filled, &got, &message)) {
      doc_ = std::string_view(window_.data(), filled);
      failed_ = true;
      error_ = message;
      return false;
    }
    if (got == 0) {
      eof_ = true;
      break;
    }
    filled += got;
  }
  doc_ = std::string_view(window_.data(), filled);
  return true;
}

const Attribute* Reader::Find(std::string_view prefix, std::string_view local) const {
  for (const Attribute& a : attrs_) {
    if (a.local == local && a.prefix == prefix) return &a;
  }
  return nullptr;
}

std::string_view Reader::Value(const Attribute& a, std::string* scratch) const {
  if (a.plain) return a.raw;
  scratch->clear();
  Decode(a.raw, true, scratch);
  return *scratch;
}

void Reader::AppendText(std::string* out) const {
  if (textPlain_) {
    out->append(text_.data(), text_.size());
  } else {
    out->append(decoded_.data(), decodedSize_);
  }
}

// Every place that runs into the end of what is read answers More while
// the document goes on; at its real end the same place gives the error the
// whole document gets.
Reader::Parse Reader::ParseStartTag() {
  const size_t n = doc_.size();
  const char* d = doc_.data();
  size_t p = pos_ + 1;
  size_t nameStart = p, colon;
  p = ScanName(d, p, n, &colon);
  if (p >= n && !eof_) return Parse::More;
  if (p == nameStart || p >= n) {
    Fail(p >= n ? "XML 文档不完整" : "XML 格式错误：元素名无效");
    return Parse::Error;
  }
  std::string_view qname = doc_.substr(nameStart, p - nameStart);
  SplitAt(d, nameStart, p, colon, &prefix_, &local_);
  attrs_.clear();
  selfClosing_ = false;
  for (;;) {
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n) {
      if (!eof_) return Parse::More;
      Fail("XML 文档不完整");
      return Parse::Error;
    }
    char c = doc_[p];
    if (c == '>') {
      ++p;
      break;
    }
    if (c == '/') {
      if (p + 1 >= n && !eof_) return Parse::More;
      if (p + 1 < n && doc_[p + 1] == '>') {
        selfClosing_ = true;
        p += 2;
        break;
      }
      Fail("XML 格式错误：标签无效");
      return Parse::Error;
    }
    size_t attrStart = p, attrColon;
    p = ScanName(d, p, n, &attrColon);
    if (p == attrStart) {
      Fail("XML 格式错误：属性无效");
      return Parse::Error;
    }
    const size_t attrEnd = p;
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n && !eof_) return Parse::More;
    if (p >= n || doc_[p] != '=') {
      Fail("XML 格式错误：属性缺少值");
      return Parse::Error;
    }
    ++p;
    while (p < n && IsSpace(doc_[p])) ++p;
    if (p >= n && !eof_) return Parse::More;
    if (p >= n || (doc_[p] != '"' && doc_[p] != '\'')) {
      Fail("XML 格式错误：属性值缺少引号");
      return Parse::Error;
    }
    char quote = doc_[p++];
    // One pass to the closing quote, noting what the value holds.
    bool plain = true, lt = false;
    size_t valueEnd = p;
    for (; valueEnd < n; ++valueEnd) {
      const char v = d[valueEnd];
      if (!(ClassOf(v) & kValueMark)) continue;
      if (v == quote) break;
      if (v == '<') {
        lt = true;
      } else if (v != '"' && v != '\'') {
        plain = false;
      }
    }
    if (valueEnd >= n) {
      if (!eof_) return Parse::More;
      Fail("XML 文档不完整");
      return Parse::Error;
    }
    if (lt) {
      Fail("XML 格式错误：属性值中有“<”");
      return Parse::Error;
    }
    Attribute& a = attrs_.emplace_back();  // in place: a copy stalls here
    SplitAt(d, attrStart, attrEnd, attrColon, &a.prefix, &a.local);
    a.raw = doc_.substr(p, valueEnd - p);
    a.plain = plain;
    if (!plain && !CheckEntities(a.raw)) {
      Fail("XML 中有未定义的实体引用（不会展开）");
      return Parse::Error;
    }
    p = valueEnd + 1;
  }
  if (stackEnds_.size() >= kMaxDepth) {
    Fail("XML 嵌套太深");
    return Parse::Error;
  }
  // Names above the top of the stack are left in place and overwritten.
  const size_t begin = stackEnds_.empty() ? 0 : stackEnds_.back();
  const size_t end = begin + qname.size();
  if (end > stackNames_.size()) stackNames_.resize(std::max(end, 2 * stackNames_.size()));
  std::memcpy(&stackNames_[begin], qname.data(), qname.size());
  stackEnds_.push_back(end);
  pendingEnd_ = selfClosing_;
  pos_ = p;
  return Parse::Done;
}

Reader::Parse Reader::ReadText() {
  const char* const base = doc_.data();
  const size_t n = doc_.size();
  size_t p = static_cast<size_t>(FindAnyOf(base + pos_, base + n, '<', '&', '\r') - base);
  if (p == n || base[p] == '<') {
    if (p == n && !eof_) return Parse::More;
    text_ = doc_.substr(pos_, p - pos_);
    textPlain_ = true;
    pos_ = p;
    return Parse::Done;
  }
  // Decoded as it is scanned, up to the '<' that ends it; text that the
  // window cuts short is read again once there is more. Decoded text is
  // never longer than raw.
  if (decoded_.size() < n - pos_) decoded_.resize(n - pos_);
  char* const out = decoded_.data();
  char* w = out;
  if (p > pos_) {
    std::memcpy(w, base + pos_, p - pos_);
    w += p - pos_;
  }
  while (p < n && base[p] != '<') {
    if (base[p] == '&') {
      uint32_t cp = 0;
      size_t len = ParseReference(base + p, n - p, &cp);
      if (len == 0) {
        // A reference the window cuts short may yet be a good one.
        if (!eof_ && n - p < kMaxReference) return Parse::More;
        Fail("XML 中有未定义的实体引用（不会展开）");
        return Parse::Error;
      }
      w = PutUtf8(cp, w);
      p += len;
    } else {  // CR, alone or before LF, ends a line as LF
      if (p + 1 == n && !eof_) return Parse::More;
      *w++ = '\n';
      ++p;
      if (p < n && base[p] == '\n') ++p;
    }
    // Runs between references are short in text made of references.
    while (p < n && !(ClassOf(base[p]) & kTextStop)) *w++ = base[p++];
  }
  if (p == n && !eof_) return Parse::More;
  text_ = doc_.substr(pos_, p - pos_);
  textPlain_ = false;
  decodedSize_ = static_cast<size_t>(w - out);
  pos_ = p;
  return Parse::Done;
}

Token Reader::Next() {
  if (failed_) return Token::Error;
  if (popPending_) {
    stackEnds_.pop_back();
    popPending_ = false;
  }
  if (pendingEnd_) {
    pendingEnd_ = false;
    popPending_ = true;
    return Token::EndElement;
  }
  if (!started_) {
    while (!eof_ && doc_.size() < 3) {
      if (!Refill()) return Token::Error;
    }
    // A UTF-8 byte order mark is allowed before the declaration.
    if (doc_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    started_ = true;
  }
  for (;;) {
    const size_t n = doc_.size();
    if (pos_ >= n) {
      if (!eof_) {
        if (!Refill()) return Token::Error;
        continue;
      }
      if (!stackEnds_.empty()) return Fail("XML 文档不完整");
      return Token::End;
    }
    const char* base = doc_.data();
    if (base[pos_] != '<') {
      // A text token is whole: it runs to the next '<' or the real end.
      Parse r = ReadText();
      if (r == Parse::Done) return Token::Text;
      if (r == Parse::Error) return Token::Error;
      if (!Refill()) return Token::Error;
      continue;
    }
    std::string_view rest = doc_.substr(pos_);
    // Seen at its end, "<!-" and the like would be taken for something else.
    if (!eof_ && rest.size() < 9 && (rest.size() < 2 || rest[1] == '!')) {
      if (!Refill()) return Token::Error;
      continue;
    }
    bool more = false;
    if (rest.size() < 2) return Fail("XML 文档不完整");
    char c = rest[1];
    if (c == '?') {
      size_t end = rest.find("?>", 2);
      if (end == std::string_view::npos) {
        if (eof_) return Fail("XML 文档不完整");
        more = true;
      } else {
        pos_ += end + 2;
        continue;
      }
    } else if (c == '!') {
      if (rest.substr(0, 4) == "<!--") {
        size_t end = rest.find("-->", 4);
        if (end == std::string_view::npos) {
          if (eof_) return Fail("XML 文档不完整");
          more = true;
        } else {
          pos_ += end + 3;
          continue;
        }
      } else if (rest.substr(0, 9) == "<![CDATA[") {
        size_t end = rest.find("]]>", 9);
        if (end == std::string_view::npos) {
          if (eof_) return Fail("XML 文档不完整");
          more = true;
        } else {
          text_ = rest.substr(9, end - 9);
          textPlain_ = true;
          pos_ += end + 3;
          return Token::Text;
        }
      } else if (rest.substr(0, 9) == "<!DOCTYPE") {
        // Skipped whole, internal subset included: its declarations are
        // never honoured.
        size_t p = 9, bracket = 0;
        char quote = 0;
        for (; p < rest.size(); ++p) {
          char d = rest[p];
          if (quote) {
            if (d == quote) quote = 0;
          } else if (d == '"' || d == '\'') {
            quote = d;
          } else if (d == '[') {
            ++bracket;
          } else if (d == ']') {
            if (bracket) --bracket;
          } else if (d == '>' && bracket == 0) {
            break;
          }
        }
        if (p >= rest.size()) {
          if (eof_) return Fail("XML 文档不完整");
          more = true;
        } else {
          pos_ += p + 1;
          continue;
        }
      } else {
        return Fail("XML 格式错误：无法识别的“<!”");
      }
    } else if (c == '/') {
      size_t colon;
      size_t p = ScanName(rest.data(), 2, rest.size(), &colon);
      std::string_view qname = rest.substr(2, p - 2);
      while (p < rest.size() && IsSpace(rest[p])) ++p;
      if (p >= rest.size()) {
        if (eof_) return Fail("XML 文档不完整");
        more = true;
      } else {
        if (rest[p] != '>') return Fail("XML 格式错误：结束标签无效");
        if (stackEnds_.empty() || !SameBytes(TopName(), qname)) {
          return Fail("XML 格式错误：结束标签与开始标签不匹配");
        }
        SplitAt(rest.data(), 2, 2 + qname.size(), colon, &prefix_, &local_);
        selfClosing_ = false;
        pos_ += p + 1;
        popPending_ = true;
        return Token::EndElement;
      }
    } else {
      Parse r = ParseStartTag();
      if (r == Parse::Done) return Token::StartElement;
      if (r == Parse::Error) return Token::Error;
      more = true;
    }
    if (more && !Refill()) return Token::Error;
  }
}

bool Reader::SkipElement() {
  size_t depth = stackEnds_.size();
  for (;;) {
    Token t = Next();
    if (t == Token::Error) return false;
    if (t == Token::End) return false;
    if (t == Token::EndElement && stackEnds_.size() == depth) return true;
  }
}

}  // namespace qx::xml
