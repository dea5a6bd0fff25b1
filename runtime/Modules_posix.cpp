#include <dlfcn.h>

#include "runtime/DllCommands.h"

namespace qx {

// Natively there are no DLLs to declare; shared objects stand in so that
// the resolution order can still be exercised.
const ModuleOps& DefaultModuleOps() {
  static const ModuleOps ops = {
      [](const char* file) -> void* { return dlopen(file, RTLD_NOW | RTLD_LOCAL); },
      [](void* m, const char* name, uint16_t) -> void* { return name ? dlsym(m, name) : nullptr; },
      [](void* m) { dlclose(m); },
  };
  return ops;
}

}  // namespace qx
