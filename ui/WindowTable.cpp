#include "ui/WindowTable.h"

#include "runtime/RuntimeState.h"
#include "ui/Description.h"

namespace qx {
namespace {
std::vector<WindowTemplate> g_windows;
}

bool LoadWindowDescriptions(const void* block, uint32_t length, const void* codeBase) {
  std::vector<WindowTemplate> parsed;
  if (!ParseDescription(block, length, &parsed)) {
    g_windows.clear();
    return false;
  }
  FixUpBindings(parsed, codeBase);
  g_windows.swap(parsed);
  return true;
}

void FreeWindowDescriptions() { std::vector<WindowTemplate>().swap(g_windows); }

std::vector<WindowTemplate>& WindowTemplates() { return g_windows; }

WindowTemplate* FindWindowTemplate(uint32_t windowId) {
  if (!IsValidUnitId(windowId)) return nullptr;
  for (WindowTemplate& w : g_windows)
    if (w.id == windowId) return &w;
  return nullptr;
}

const UnitKind* KindOfTag(uint32_t tag) {
  uint32_t library = tag >> 16, type = tag & 0xFFFF;
  const auto& libraries = g_runtime.libraries;
  if (library < 1 || library > libraries.size() || type < 1) return nullptr;
  const LibraryRecord* lib = libraries[library - 1];
  if (!lib || !lib->types || static_cast<int32_t>(type) > lib->types->count) return nullptr;
  return lib->types->kinds[type - 1];
}

bool WindowIsAlive(const WindowTemplate& w) {
  return !w.records.empty() && w.records[0].live != nullptr;
}

}  // namespace qx
