#include "runtime/FindFile.h"

#include "runtime/Text.h"

namespace qx {
namespace {

const FindOps* g_find = nullptr;
const FindOps& Find() { return g_find ? *g_find : DefaultFindOps(); }

bool Wanted(const FoundEntry& e, uint32_t mask, bool filesOnly) {
  const uint32_t kDirectory = 0x10;
  if (filesOnly) return (e.attributes & kDirectory) == 0;
  if (mask == 0) return e.attributes == 0;
  return (e.attributes & (mask & 0x37)) != 0;
}

}  // namespace

const FindOps* SetFindOps(const FindOps* ops) {
  const FindOps* old = g_find;
  g_find = ops;
  return old;
}

char* FindFileStep(const char* pattern, uint32_t mask, bool filesOnly, void** slot) {
  if (!slot) return nullptr;
  const FindOps& ops = Find();
  FoundEntry entry;
  bool have;
  if (TextLength(pattern) > 0) {
    if (*slot) ops.close(*slot);
    *slot = ops.first(pattern, &entry);
    have = *slot != nullptr;
  } else {
    have = *slot && ops.next(*slot, &entry);
  }
  while (have && !Wanted(entry, mask, filesOnly)) have = ops.next(*slot, &entry);
  if (!have) {
    if (*slot) ops.close(*slot);
    *slot = nullptr;
    return nullptr;
  }
  return MakeText(entry.name.data(), static_cast<int32_t>(entry.name.size()));
}

void FindFileClose(void* search) {
  if (search) Find().close(search);
}

}  // namespace qx
