// The generated GBK double-byte table (runtime/encoding/GbkTable.cpp).
#pragma once

#include <cstdint>

namespace qx::gbk::detail {

constexpr int kFirstLead = 0x81;   // lead bytes 0x81..0xFE
constexpr int kLeadCount = 126;
constexpr int kFirstTrail = 0x40;  // trail bytes 0x40..0xFE (0x7F is none)
constexpr int kTrailCount = 191;

// Unicode (BMP) of each lead/trail pair; 0 for a pair that is no character.
extern const uint16_t kDoubleByteToUnicode[kLeadCount * kTrailCount];

}  // namespace qx::gbk::detail
