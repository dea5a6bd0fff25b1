#include <windows.h>

#include "runtime/Memory.h"

namespace qx {

// All value blocks of the program and its libraries share the process heap,
// so a block may be freed by a different module than the one that made it.
const HeapOps& DefaultHeapOps() {
  static const HeapOps ops = {
      [](size_t n) { return HeapAlloc(GetProcessHeap(), 0, n); },
      [](void* p, size_t n) { return HeapReAlloc(GetProcessHeap(), 0, p, n); },
      [](void* p) { HeapFree(GetProcessHeap(), 0, p); },
  };
  return ops;
}

}  // namespace qx
