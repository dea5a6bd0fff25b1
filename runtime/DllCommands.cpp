#include "runtime/DllCommands.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/LeadByte.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"

namespace qx {
namespace {

struct DllFunction {
  std::string file;
  std::string exportName;
  void* module = nullptr;
  void* address = nullptr;
};

std::vector<DllFunction> g_functions;
std::string g_extraFolder;
const ModuleOps* g_modules = nullptr;

const ModuleOps& Modules() { return g_modules ? *g_modules : DefaultModuleOps(); }

bool EndsWithBackslash(const std::string& folder) {
  size_t at = LastCharacterAt(folder, '\\');
  return at != std::string::npos && at + 1 == folder.size();
}

void* FindExport(void* module, const std::string& name) {
  if (!name.empty() && name[0] == '#')
    return Modules().find(module, nullptr, static_cast<uint16_t>(atoi(name.c_str() + 1) & 0xFFFF));
  return Modules().find(module, name.c_str(), 0);
}

}  // namespace

const ModuleOps* SetModuleOps(const ModuleOps* ops) {
  const ModuleOps* old = g_modules;
  g_modules = ops;
  return old;
}

void SetExtraLibraryFolder(const char* folder) { g_extraFolder = folder ? folder : ""; }

void SetDeclaredDllFunctions(uint32_t count, const char* const* files,
                             const char* const* exports) {
  g_functions.assign(count, DllFunction());
  for (uint32_t i = 0; i < count; ++i) {
    g_functions[i].file = files && files[i] ? files[i] : "";
    g_functions[i].exportName = exports && exports[i] ? exports[i] : "";
  }
}

void* ResolveDllCommand(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= g_functions.size()) ReportRuntimeErrorCode(1);
  DllFunction& f = g_functions[index];
  if (f.address) return f.address;

  if (f.file.empty()) {
    static const char* const kSystem[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                          "Advapi32.dll", "Mpr.dll", "Shell32.dll"};
    for (const char* lib : kSystem) {
      void* m = Modules().load(lib);
      if (!m) continue;
      if (void* a = FindExport(m, f.exportName)) {
        f.module = m;
        f.address = a;
        return a;
      }
      Modules().release(m);
    }
    std::string message = "无法找到指定DLL库文件中的输出命令“" + f.exportName + "”";
    ReportRuntimeError(message.c_str(), 0);
  }

  std::vector<std::string> candidates;
  if (f.file.find(':') != std::string::npos) {
    candidates.push_back(f.file);
  } else {
    // The folder joins the name whether or not it was given its backslash.
    if (!g_extraFolder.empty())
      candidates.push_back(g_extraFolder + (EndsWithBackslash(g_extraFolder) ? "" : "\\") + f.file);
    candidates.push_back(g_runtime.programFolder + "\\" + f.file);
    candidates.push_back(g_runtime.moduleFolder + f.file);
    candidates.push_back(f.file);
  }
  for (const std::string& c : candidates) {
    f.module = Modules().load(c.c_str());
    if (f.module) break;
  }
  if (f.module) f.address = FindExport(f.module, f.exportName);
  if (!f.address) {
    if (f.module) Modules().release(f.module);
    f.module = nullptr;
    std::string message =
        "无法找到指定DLL库文件“" + f.file + "”中的输出命令“" + f.exportName + "”";
    ReportRuntimeError(message.c_str(), 0);
  }
  return f.address;
}

void ReleaseDllFunctions() {
  for (DllFunction& f : g_functions)
    if (f.module) Modules().release(f.module);
  g_functions.clear();
  g_extraFolder.clear();
}

}  // namespace qx
