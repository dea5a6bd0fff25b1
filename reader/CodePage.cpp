#include "reader/CodePage.h"

#include "runtime/encoding/Gbk.h"

namespace qx::reader {
namespace {

constexpr uint16_t kGbk = kProgramCodePage;
constexpr uint16_t kWestern = 1252;
constexpr uint16_t kWesternOld = 0x8001;  // 1252 as the older files number it
constexpr uint16_t kAscii = 367;

// 0x80-0x9F of code page 1252; the five bytes it leaves out stay the C1
// controls, as the platform's conversion leaves them.
constexpr char16_t kWestern80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool IsKnownCodePage(uint16_t codePage) {
  return codePage == kGbk || codePage == kWestern || codePage == kWesternOld || codePage == kAscii;
}

void DecodeCodePage(uint16_t codePage, std::string_view bytes, std::string* utf8) {
  if (codePage == kGbk) {
    *utf8 = gbk::ToUtf8(bytes);
    return;
  }
  utf8->clear();
  utf8->reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80) {
      if (codePage == kAscii) {
        cp = 0xFFFD;
      } else if (b < 0xA0) {
        cp = kWestern80[b - 0x80];
      }
    }
    gbk::AppendUtf8(cp, utf8);
  }
}

}  // namespace qx::reader
