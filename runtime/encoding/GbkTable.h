// The generated GBK double-byte table (runtime/encoding/GbkTable.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx::gbk::detail {

constexpr int kFirstLead = 0x81;   // lead bytes 0x81..0xFE
constexpr int kLeadCount = 126;
constexpr int kFirstTrail = 0x40;  // trail bytes 0x40..0xFE (0x7F is none)
constexpr int kTrailCount = 191;

// Unicode (BMP) of each lead/trail pair; 0 for a pair that is no character.
// The user-defined areas (AAA1-AFFE, F8A1-FEFE, A140-A7A0) are the private
// use characters the system gives them: a character a user made for a
// rare name comes through.
extern const uint16_t kDoubleByteToUnicode[kLeadCount * kTrailCount];

// Characters the code page has no code for that the system writes as a
// near one instead of its default character ("²" as "2", the
// compatibility ideograph U+F900 as the pair of U+8C48), sorted by
// character. Trail 0: a single byte of ASCII.
struct BestFit {
  uint16_t unicode;
  uint8_t lead, trail;
};
extern const BestFit kBestFit[];
extern const size_t kBestFitCount;

}  // namespace qx::gbk::detail
