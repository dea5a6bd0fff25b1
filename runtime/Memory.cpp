#include "runtime/Memory.h"

#include <cstdio>
#include <cstring>

#include "runtime/RuntimeError.h"

namespace qx {
namespace {

const HeapOps* g_heap = nullptr;
const unsigned char* g_constStart = nullptr;
uint32_t g_constLength = 0;

const HeapOps& Heap() { return g_heap ? *g_heap : DefaultHeapOps(); }

[[noreturn]] void ReportAllocationFailure(int32_t size) {
  char message[64];
  snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(size));
  ReportRuntimeError(message, 0);
}

// A negative size is a caller's arithmetic gone wrong; asking the heap for
// it as an unsigned number would hand out a block far smaller than meant or
// crash, so it fails like any refused request.
bool UsableSize(int32_t size) { return size >= 0; }

}  // namespace

const HeapOps* SetHeapOps(const HeapOps* ops) {
  const HeapOps* old = g_heap;
  g_heap = ops;
  return old;
}

void* AllocateMemory(int32_t size) {
  void* p = UsableSize(size) ? Heap().allocate(size ? size : 1) : nullptr;
  if (!p) ReportAllocationFailure(size);
  return p;
}

void* TryAllocateMemory(int32_t size) {
  return UsableSize(size) ? Heap().allocate(size ? size : 1) : nullptr;
}

void* ReallocateMemory(void* p, int32_t size) {
  if (!p) return AllocateMemory(size);
  if (InConstantArea(p)) {
    void* copy = AllocateMemory(size);
    const unsigned char* end = g_constStart + g_constLength;
    size_t available = static_cast<size_t>(end - static_cast<const unsigned char*>(p));
    size_t n = static_cast<size_t>(size) < available ? static_cast<size_t>(size) : available;
    memcpy(copy, p, n);
    return copy;
  }
  void* q = UsableSize(size) ? Heap().reallocate(p, size ? size : 1) : nullptr;
  if (!q) ReportAllocationFailure(size);
  return q;
}

void FreeMemory(void* p) {
  if (!p || InConstantArea(p)) return;
  Heap().release(p);
}

void SetConstantArea(const void* start, uint32_t length) {
  g_constStart = length ? static_cast<const unsigned char*>(start) : nullptr;
  g_constLength = length ? length : 0;
}

bool InConstantArea(const void* p) {
  const unsigned char* c = static_cast<const unsigned char*>(p);
  return g_constStart && c >= g_constStart && c < g_constStart + g_constLength;
}

const void* ConstantAreaStart() { return g_constStart; }
uint32_t ConstantAreaLength() { return g_constLength; }

}  // namespace qx
