#include "runtime/Commands.h"
#include "runtime/LeadByte.h"
#include "runtime/SystemOps.h"
#include "runtime/Text.h"

namespace qx {
namespace {
const SystemOps* g_system = nullptr;

constexpr int32_t kFirstFolderCode = 1, kLastFolderCode = 11;

// Whether the last character is a backslash: the second byte of a two-byte
// character may be 0x5C too, and is not one.
bool EndsWithBackslash(const char* path, size_t n) {
  size_t at = LastCharacterAt(std::string_view(path, n), '\\');
  return at != std::string_view::npos && at + 1 == n;
}
}  // namespace

const SystemOps& System() { return g_system ? *g_system : DefaultSystemOps(); }

const SystemOps* SetSystemOps(const SystemOps* ops) {
  const SystemOps* old = g_system;
  g_system = ops;
  return old;
}

void GetSpecialFolder(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeTextValue(nullptr);
  int32_t code = ArgInt(count, args, 0, 0);
  if (code < kFirstFolderCode || code > kLastFolderCode) return;
  // One byte spare for the backslash.
  char path[kSystemPathSize + 1] = "";
  if (!System().folderPath(code, path)) return;
  path[kSystemPathSize - 1] = 0;
  size_t n = TextLength(path);
  if (n == 0) return;
  if (!EndsWithBackslash(path, n)) {
    path[n] = '\\';
    path[n + 1] = 0;
  }
  *result = MakeTextValue(CopyText(path));
}

void KillProcess(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(false);
  TaggedValue v = ArgValue(count, args, 0);
  uint32_t target = 0;
  switch (v.tag) {
    case kTagByte: case kTagShort: case kTagInt: case kTagFloat: case kTagDouble: {
      target = static_cast<uint32_t>(ArgInt(count, args, 0, 0));
      break;
    }
    case kTagText: {
      const char* name = ValueText(v);
      if (TextLength(name) == 0) return;
      target = System().windowProcess(name);
      if (!target) target = System().processByName(name);
      break;
    }
    default: return;
  }
  if (!target) return;
  *result = MakeBool(System().terminate(target));
}

}  // namespace qx
