#include <windows.h>

#include "runtime/DllCommands.h"

namespace qx {

const ModuleOps& DefaultModuleOps() {
  static const ModuleOps ops = {
      [](const char* file) -> void* { return LoadLibraryA(file); },
      [](void* m, const char* name, uint16_t ordinal) -> void* {
        return reinterpret_cast<void*>(GetProcAddress(
            static_cast<HMODULE>(m), name ? name : MAKEINTRESOURCEA(ordinal)));
      },
      [](void* m) { FreeLibrary(static_cast<HMODULE>(m)); },
  };
  return ops;
}

}  // namespace qx
