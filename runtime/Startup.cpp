#include "runtime/Startup.h"

#include "runtime/DllCommands.h"
#include "runtime/HelperTable.h"
#include "runtime/LeadByte.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "runtime/Platform.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeHooks.h"

namespace qx {
namespace {
const ProgramHeader* g_header = nullptr;
}

void SetProgramHeader(const ProgramHeader* header) { g_header = header; }
const ProgramHeader* CurrentProgramHeader() { return g_header; }

void SplitProgramPath(const char* path, std::string* folder, std::string* name) {
  std::string_view p(path);
  size_t slash = LastCharacterAt(p, '\\');
  if (slash == std::string_view::npos) {
    folder->clear();
    *name = path;
    return;
  }
  folder->assign(p.substr(0, slash));
  name->assign(p.substr(slash + 1));
}

void InitialiseRuntime() {
  static const ProgramHeader kEmpty = {};
  const ProgramHeader& h = g_header ? *g_header : kEmpty;
  RuntimeState& rt = g_runtime;
  rt.runMode = h.runMode;
  rt.word1 = h.word1;
  rt.counter = h.counterSeed + 1;

  const WindowRuntimeHooks* w = WindowRuntime();
  if (!rt.oleInitialised && w) w->initialiseOle();

  char path[261];
  Platform().programPath(path, sizeof path);
  SplitProgramPath(path, &rt.programFolder, &rt.programName);
  Platform().setCurrentDirectory(rt.programFolder.c_str());

  if (w) w->createHiddenOwner();
  if (h.constantLength) SetConstantArea(h.constantArea, h.constantLength);
  SetDeclaredDllFunctions(h.dllCount, h.dllFiles, h.dllExports);
  StartLibraries(h.libraries, h.libraryCount);

  if (h.windowDescription && h.windowDescriptionLength) {
    bool ok = w && w->loadWindowDescriptions(h.windowDescription, h.windowDescriptionLength,
                                             h.codeBase);
    if (!ok) ReportRuntimeError("载入窗口模板数据段出错!", 0);
  }
}

}  // namespace qx
