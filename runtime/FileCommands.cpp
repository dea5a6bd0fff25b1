#include "runtime/Commands.h"
#include "runtime/FileOps.h"
#include "runtime/Text.h"

namespace qx {
namespace {
const FileOps* g_files = nullptr;
}

const FileOps& Files() { return g_files ? *g_files : DefaultFileOps(); }

const FileOps* SetFileOps(const FileOps* ops) {
  const FileOps* old = g_files;
  g_files = ops;
  return old;
}

void WriteBytesToFile(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(false);
  const char* name = ArgText(count, args, 0);
  if (TextLength(name) == 0) return;
  void* file = Files().openForWriting(name);
  if (!file) return;
  bool ok = true;
  for (int32_t i = 1; i < count && ok; ++i) {
    TaggedValue v = ArgValue(count, args, i);
    if (v.tag != kTagByteSet) continue;
    const void* bytes = ValuePointer(v);
    int32_t length = ByteSetLength(bytes);
    if (length > 0) ok = Files().write(file, ByteSetBytes(bytes), static_cast<uint32_t>(length));
  }
  // A close that fails means the bytes may not be on disk: not a success.
  ok = Files().close(file) && ok;
  *result = MakeBool(ok);
}

}  // namespace qx
