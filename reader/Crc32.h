// The CRC-32 that ZIP members are checked with, continued piece by piece:
// ISA-L's, where the build has it (it folds with carry-less multiplies, at
// three times the speed of zlib's), zlib's otherwise. A deflated member is
// checked by the inflater as it inflates; this serves stored members.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx::zip {

// crc of nothing is 0; Crc32(Crc32(0, a), b) is the CRC of a then b.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

}  // namespace qx::zip
