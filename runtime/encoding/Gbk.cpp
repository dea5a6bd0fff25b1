#include "runtime/encoding/Gbk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/encoding/GbkTable.h"

namespace qx::gbk {
namespace {

using detail::kDoubleByteToUnicode;
using detail::kFirstLead;
using detail::kFirstTrail;
using detail::kLeadCount;
using detail::kTrailCount;

constexpr char32_t kReplacement = 0xFFFD;
// Code page 936's two single bytes above ASCII: the euro sign, and 0xFF,
// which the system reads as a private-use character and writes back.
constexpr unsigned char kEuroByte = 0x80;
constexpr char32_t kEuro = 0x20AC;
constexpr unsigned char kLastByte = 0xFF;
constexpr char32_t kLastByteCharacter = 0xF8F5;

// Unicode -> GBK, the inverse of the generated table, built once on first
// use: the two bytes of each character in the order they are written. A
// lead byte of 0 means "not a double-byte character": not in GBK, or one
// of the characters the slow path sees to (single bytes, the system's near
// characters, surrogates).
struct EncodeTable {
  unsigned char toGbk[0x10000][2];
  EncodeTable() {
    std::memset(toGbk, 0, sizeof toGbk);
    for (int lead = 0; lead < kLeadCount; ++lead) {
      for (int trail = 0; trail < kTrailCount; ++trail) {
        uint16_t u = kDoubleByteToUnicode[lead * kTrailCount + trail];
        if (u != 0) {
          toGbk[u][0] = static_cast<unsigned char>(kFirstLead + lead);
          toGbk[u][1] = static_cast<unsigned char>(kFirstTrail + trail);
        }
      }
    }
  }
};

// The near character the system writes for one GBK lacks, or null.
const detail::BestFit* NearCharacter(char32_t cp) {
  const detail::BestFit* end = detail::kBestFit + detail::kBestFitCount;
  const detail::BestFit* it = std::lower_bound(
      detail::kBestFit, end, cp, [](const detail::BestFit& e, char32_t c) { return e.unicode < c; });
  return it != end && it->unicode == cp ? it : nullptr;
}

const EncodeTable& Encoder() {
  static const EncodeTable* table = new EncodeTable();  // never freed: lives as long as the process
  return *table;
}

// Decodes one UTF-8 character at bytes[i]; on success advances i and
// returns true. Overlong forms, surrogates and values past U+10FFFF are
// malformed, as they are for MultiByteToWideChar with MB_ERR_INVALID_CHARS.
bool DecodeUtf8(std::string_view s, size_t* i, char32_t* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = s.size(), k = *i;
  unsigned char b0 = p[k];
  if (b0 < 0x80) {
    *out = b0;
    *i = k + 1;
    return true;
  }
  int len;
  char32_t cp, min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (n - k < static_cast<size_t>(len)) return false;
  for (int j = 1; j < len; ++j) {
    unsigned char b = p[k + j];
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  *out = cp;
  *i = k + len;
  return true;
}


}  // namespace

void AppendUtf8(char32_t cp, std::string* out) {
  char bytes[4];
  out->append(bytes, static_cast<size_t>(PutUtf8(cp, bytes) - bytes));
}

namespace {

template <bool kStopAtNul>
bool Encode(std::string_view utf8, std::string* gbk) {
  // GBK never takes more bytes than UTF-8 for the same text (two for what
  // UTF-8 spends two to four on), so one sizing up front is enough.
  gbk->resize(utf8.size());
  char* out = gbk->data();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  const EncodeTable* table = nullptr;
  bool exact = true;
  while (p < end) {
    const unsigned b = *p;
    if (b < 0x80) {
      if (kStopAtNul && b == 0) break;
      *out++ = static_cast<char>(b);
      ++p;
      continue;
    }
    // Chinese text is almost all three-byte sequences: those of a GBK
    // character are taken here, whatever else by the way below.
    if ((b & 0xF0) == 0xE0 && end - p >= 3) {
      const unsigned b1 = p[1], b2 = p[2];
      const unsigned cp = ((b & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
      if ((((b1 << 8) | b2) & 0xC0C0u) == 0x8080u && cp >= 0x800) {
        if (!table) table = &Encoder();
        const unsigned char* code = table->toGbk[cp];
        if (code[0]) {
          std::memcpy(out, code, 2);
          out += 2;
          p += 3;
          continue;
        }
      }
    }
    size_t i = static_cast<size_t>(p - reinterpret_cast<const unsigned char*>(utf8.data()));
    char32_t cp;
    if (!DecodeUtf8(utf8, &i, &cp)) {
      *out++ = '?';
      exact = false;
      p = reinterpret_cast<const unsigned char*>(utf8.data()) + i + 1;
      continue;
    }
    p = reinterpret_cast<const unsigned char*>(utf8.data()) + i;
    if (cp == kEuro) {
      *out++ = static_cast<char>(kEuroByte);
      continue;
    }
    if (cp == kLastByteCharacter) {
      *out++ = static_cast<char>(kLastByte);
      continue;
    }
    if (cp >= 0x10000) {
      // The text reaches the program as UTF-16, and each half of a
      // surrogate pair becomes its own default character.
      *out++ = '?';
      *out++ = '?';
      exact = false;
      continue;
    }
    if (!table) table = &Encoder();
    const unsigned char* code = table->toGbk[cp];
    if (code[0]) {
      std::memcpy(out, code, 2);
      out += 2;
    } else if (const detail::BestFit* fit = NearCharacter(cp)) {
      // Written as the system writes it, but it reads back as another.
      *out++ = static_cast<char>(fit->lead);
      if (fit->trail) *out++ = static_cast<char>(fit->trail);
      exact = false;
    } else {
      *out++ = '?';
      exact = false;
    }
  }
  gbk->resize(static_cast<size_t>(out - gbk->data()));
  return exact;
}

}  // namespace

bool FromUtf8(std::string_view utf8, std::string* gbk) { return Encode<false>(utf8, gbk); }

bool FromUtf8UpToNul(std::string_view utf8, std::string* gbk) { return Encode<true>(utf8, gbk); }

std::string ToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  size_t n = gbk.size();
  for (size_t i = 0; i < n;) {
    unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if (b == kEuroByte) {
      AppendUtf8(kEuro, &out);
      ++i;
    } else if (b == kLastByte) {
      AppendUtf8(kLastByteCharacter, &out);
      ++i;
    } else if (i + 1 >= n) {
      AppendUtf8(kReplacement, &out);
      ++i;
    } else {
      unsigned char t = p[i + 1];
      uint16_t u = 0;
      if (t >= kFirstTrail && t != 0xFF) {
        u = kDoubleByteToUnicode[(b - kFirstLead) * kTrailCount + (t - kFirstTrail)];
      }
      if (u != 0) {
        AppendUtf8(u, &out);
        i += 2;
      } else {
        AppendUtf8(kReplacement, &out);
        // A trail byte that is plain ASCII stays a character of its own.
        i += (t < 0x80) ? 1 : 2;
      }
    }
  }
  return out;
}

// UTF-16 to UTF-8 in two passes, so that each text is allocated once at
// its exact size: a sheet of Chinese text is tens of thousands of these.
// Unpaired surrogates become U+FFFD. Text without surrogates (nearly all)
// takes the short way, without the pairing checks.
void Utf16ToUtf8(const char16_t* s, size_t n, std::string* out) {
  size_t len = 0;
  bool surrogates = false;
  for (size_t i = 0; i < n; ++i) {
    const uint32_t c = s[i];
    len += 1 + (c >= 0x80) + (c >= 0x800);
    surrogates |= c - 0xD800u < 0x800u;
  }
  if (!surrogates) {
    out->resize(len);
    char* p = out->data();
    for (size_t i = 0; i < n; ++i) p = PutUtf8(s[i], p);
    return;
  }
  auto next = [&](size_t* i) -> uint32_t {
    uint32_t c = s[(*i)++];
    if (c < 0xD800 || c > 0xDFFF) return c;
    if (c <= 0xDBFF && *i < n && s[*i] >= 0xDC00 && s[*i] <= 0xDFFF)
      return 0x10000 + ((c - 0xD800) << 10) + (s[(*i)++] - 0xDC00);
    return 0xFFFD;
  };
  out->clear();
  for (size_t i = 0; i < n;) AppendUtf8(next(&i), out);
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  Utf16ToUtf8(utf16.data(), utf16.size(), &out);
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    if (!DecodeUtf8(utf8, &i, &cp)) {
      cp = kReplacement;
      ++i;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    if (!DecodeUtf8(bytes, &i, &cp)) return false;
  }
  return true;
}

}  // namespace qx::gbk
