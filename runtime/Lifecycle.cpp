#include "runtime/Lifecycle.h"

#include <algorithm>

#include "runtime/DllCommands.h"
#include "runtime/Memory.h"
#include "runtime/Platform.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/RuntimeService.h"

namespace qx {

RuntimeState g_runtime;

void RegisterExitRoutine(ExitRoutine routine) {
  auto& list = g_runtime.exitRoutines;
  if (routine && std::find(list.begin(), list.end(), routine) == list.end())
    list.push_back(routine);
}

void StartLibraries(const LibraryRecord* const* libraries, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (libraries[i] && libraries[i]->notify)
      libraries[i]->notify(1, reinterpret_cast<intptr_t>(&RuntimeService), 0);
  }
  g_runtime.libraries.assign(libraries, libraries + count);
  g_runtime.libraryWords.assign(count, 0);
}

void RunTeardown(int32_t code) {
  RuntimeState& rt = g_runtime;
  const WindowRuntimeHooks* w = WindowRuntime();
  ++rt.eventsSuspended;
  if (w && w->marshalEndToMainThread(code)) return;
  if (rt.teardownStarted) return;  // an exit routine that ends the program again
  rt.teardownStarted = true;
  if (w) {
    w->clearIdleCallbacks();
    w->freeWindowDescriptions();
  }

  // Taken out first: a routine that registers another must not make the
  // walk run forever, and each runs once.
  std::vector<ExitRoutine> routines;
  routines.swap(rt.exitRoutines);
  for (ExitRoutine r : routines) r();

  std::vector<const LibraryRecord*> libraries;
  libraries.swap(rt.libraries);
  for (size_t i = 0; i < libraries.size(); ++i) {
    if (libraries[i] && libraries[i]->notify)
      libraries[i]->notify(6, i < rt.libraryWords.size() ? rt.libraryWords[i] : 0, 0);
  }
  rt.libraryWords.clear();

  // The modules of declared DLL functions go, with the tables and the extra
  // library folder; the runtime loads no further modules of its own.
  ReleaseDllFunctions();
  SetConstantArea(nullptr, 0);
  if (w) {
    w->destroyHiddenOwner();
    w->releaseRemainingObjects();
    w->uninitialiseOle();
  }
}

void EndProgram(int32_t code) {
  if (!g_runtime.teardownStarted) RunTeardown(code);
  Platform().terminateProcess(code);
}

}  // namespace qx
