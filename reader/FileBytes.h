// Reading a whole file into memory, the one thing the reader needs from the
// platform. Paths come as GBK, as the window program holds them.
#pragma once

#include <cstdint>
#include <string>

#include "reader/LargeBlocks.h"
#include "reader/OpenFailure.h"

namespace qx::reader {

// Larger files are refused before anything is allocated for them.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

// On failure returns false and sets *why.
bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, OpenFailureCode* why);

}  // namespace qx::reader
