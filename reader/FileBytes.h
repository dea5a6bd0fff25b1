// Reading a whole file into memory, the one thing the reader needs from the
// platform. Paths come as GBK, as the window program holds them.
#pragma once

#include <cstdint>
#include <string>

#include "reader/LargeBlocks.h"

namespace qx::reader {

// Larger files are refused before anything is allocated for them.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

// On failure returns false and sets *reason to a short Chinese phrase
// (UTF-8) saying why, without the file name.
bool ReadFileBytes(const std::string& pathGbk, ByteBlock* bytes, std::string* reason);

}  // namespace qx::reader
