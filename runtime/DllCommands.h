// Declared external DLL functions, resolved on first call.
#pragma once

#include <cstdint>

namespace qx {

// Module loading as the resolution needs it, behind a table.
struct ModuleOps {
  void* (*load)(const char* fileGbk);  // null when it cannot be loaded
  void* (*find)(void* module, const char* exportName, uint16_t ordinal);  // ordinal 0: by name
  void (*release)(void* module);
};
const ModuleOps& DefaultModuleOps();
const ModuleOps* SetModuleOps(const ModuleOps* ops);

void SetDeclaredDllFunctions(uint32_t count, const char* const* files,
                             const char* const* exports);
// The address of declared function i; a runtime error when it cannot be
// found.
void* ResolveDllCommand(int32_t index);
// Releases every loaded module and clears the tables (teardown).
void ReleaseDllFunctions();
// The extra library folder tried first (none in this program).
void SetExtraLibraryFolder(const char* folder);

}  // namespace qx
