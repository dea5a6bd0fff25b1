// The single value heap and the constant area of literals.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

// Where blocks come from. The product uses the process heap; tests swap the
// table to inject failures, as SQLite does with its VFS.
struct HeapOps {
  void* (*allocate)(size_t size);           // null on failure
  void* (*reallocate)(void* p, size_t size);  // null on failure, p untouched
  void (*release)(void* p);
};

const HeapOps& DefaultHeapOps();
// Installs ops (null: the default ones); returns the previous table.
const HeapOps* SetHeapOps(const HeapOps* ops);

// One block, never null: a failure is reported as a runtime error
// ("分配 %d 字节内存失败!") which ends the program.
void* AllocateMemory(int32_t size);
// Null p allocates; p in the constant area copies out of it; otherwise the
// heap resizes or moves the block. Never null.
void* ReallocateMemory(void* p, int32_t size);
// Nothing for null or for a pointer into the constant area.
void FreeMemory(void* p);
// Plain allocation that reports nothing and may return null.
void* TryAllocateMemory(int32_t size);

// The literals' region. Its first byte is the empty text; the application
// keeps the empty array/byte set {1, 0} there too.
void SetConstantArea(const void* start, uint32_t length);
bool InConstantArea(const void* p);
const void* ConstantAreaStart();
uint32_t ConstantAreaLength();

}  // namespace qx
