#include <sys/mman.h>

#include <cstdint>

#include "reader/LargeBlocks.h"

namespace qx::reader {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer watches the heap only: the large arrays stay on it there.
void* AllocateLarge(size_t bytes) { return ::operator new(bytes); }
void FreeLarge(void* block, size_t) noexcept { ::operator delete(block); }
#else
namespace {

constexpr size_t kLargePage = size_t{2} << 20;

size_t Span(size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }

}  // namespace

void* AllocateLarge(size_t bytes) {
  const size_t span = Span(bytes);
  if (span < bytes) throw std::bad_alloc();
  // Mapped with a large page's worth to spare, then trimmed to a block
  // that starts on a large-page boundary: only whole aligned large pages
  // can be placed on one.
  void* mapped = mmap(nullptr, span + kLargePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t block = (start + kLargePage - 1) & ~uintptr_t{kLargePage - 1};
  if (block > start) munmap(mapped, block - start);
  const uintptr_t tail = block + span;
  const uintptr_t end = start + span + kLargePage;
  if (end > tail) munmap(reinterpret_cast<void*>(tail), end - tail);
#ifdef MADV_HUGEPAGE
  // Advice only: where large pages are off, the block is ordinary memory.
  madvise(reinterpret_cast<void*>(block), span, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(block);
}

void FreeLarge(void* block, size_t bytes) noexcept {
  if (block) munmap(block, Span(bytes));
}
#endif

}  // namespace qx::reader
