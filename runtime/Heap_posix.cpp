#include <cstdlib>

#include "runtime/Memory.h"

namespace qx {

const HeapOps& DefaultHeapOps() {
  static const HeapOps ops = {
      [](size_t n) { return malloc(n); },
      [](void* p, size_t n) { return realloc(p, n); },
      [](void* p) { free(p); },
  };
  return ops;
}

}  // namespace qx
