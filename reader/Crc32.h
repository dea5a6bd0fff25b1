// The CRC-32 that ZIP members are checked with, continued piece by piece.
// A sheet part of megabytes is checked as it inflates, on the same thread:
// libdeflate's, where the build has it, folds with carry-less multiplies
// at twice the speed of zlib's, which the other builds use.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx::zip {

// crc of nothing is 0; Crc32(Crc32(0, a), b) is the CRC of a then b.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

}  // namespace qx::zip
