#include "reader/LargeBlocks.h"

namespace qx::reader {

// Large pages on Windows need a privilege a user's program does not hold:
// the heap it is.
void* AllocateLarge(size_t bytes) { return ::operator new(bytes); }

void FreeLarge(void* block, size_t) noexcept { ::operator delete(block); }

}  // namespace qx::reader
