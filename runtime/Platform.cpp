#include "runtime/Platform.h"

namespace qx {
namespace {
const PlatformOps* g_platform = nullptr;
}

const PlatformOps& Platform() { return g_platform ? *g_platform : DefaultPlatformOps(); }

const PlatformOps* SetPlatformOps(const PlatformOps* ops) {
  const PlatformOps* old = g_platform;
  g_platform = ops;
  return old;
}

}  // namespace qx
