#include <windows.h>

#include "runtime/FindFile.h"

namespace qx {
namespace {

void Fill(const WIN32_FIND_DATAA& d, FoundEntry* e) {
  e->name = d.cFileName;
  // Plain files report FILE_ATTRIBUTE_NORMAL when nothing else is set; the
  // search's mask counts that as having no attributes.
  e->attributes = d.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : d.dwFileAttributes;
}

}  // namespace

const FindOps& DefaultFindOps() {
  static const FindOps ops = {
      [](const char* pattern, FoundEntry* e) -> void* {
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA(pattern, &d);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        Fill(d, e);
        return h;
      },
      [](void* h, FoundEntry* e) -> bool {
        WIN32_FIND_DATAA d;
        if (!FindNextFileA(static_cast<HANDLE>(h), &d)) return false;
        Fill(d, e);
        return true;
      },
      [](void* h) { FindClose(static_cast<HANDLE>(h)); },
  };
  return ops;
}

}  // namespace qx
