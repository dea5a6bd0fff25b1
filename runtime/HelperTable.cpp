#include "runtime/HelperTable.h"

#include <cstring>

#include "runtime/DllCommands.h"
#include "runtime/FindFile.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/Startup.h"
#include "runtime/Text.h"

namespace qx {
namespace {

TaggedValue CallLibrary(CommandFn command, int32_t, int32_t count, TaggedValue* args) {
  return CallCommand(command, count, args);
}

TaggedValue GetUnitPropertyEntry(uint32_t window, uint32_t unit, int32_t property,
                                 int32_t element) {
  const WindowRuntimeHooks* w = WindowRuntime();
  if (!w) ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
  return w->getUnitProperty(window, unit, property, element);
}

void SetUnitPropertyEntry(uint32_t window, uint32_t unit, int32_t property, int32_t element,
                          uint32_t lo, uint32_t hi) {
  const WindowRuntimeHooks* w = WindowRuntime();
  if (!w) ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
  w->setUnitProperty(window, unit, property, element, lo, hi);
}

void RunMessageLoopEntry() {
  g_runtime.messageLoopStarted = true;
  if (const WindowRuntimeHooks* w = WindowRuntime()) w->runMessageLoop();
}

void LoadStartupWindowEntry(uint32_t windowId) {
  const WindowRuntimeHooks* w = WindowRuntime();
  if (!w || !w->loadStartupWindow(windowId))
    ReportRuntimeError("载入启动窗口失败", 0);
}

// Services 4 and 5: without the window runtime there are no units.
intptr_t GetObjectPropertyEntry(uint32_t tag, UnitObject* unit, int32_t property,
                                TaggedValue* out) {
  const WindowRuntimeHooks* w = WindowRuntime();
  if (!w || !w->getObjectProperty || !out) return 0;
  return w->getObjectProperty(tag, unit, property, out) ? 1 : 0;
}

intptr_t SetObjectPropertyEntry(uint32_t tag, UnitObject* unit, int32_t property,
                                const TaggedValue* value) {
  const WindowRuntimeHooks* w = WindowRuntime();
  if (!w || !w->setObjectProperty || !value) return 0;
  return w->setObjectProperty(tag, unit, property, *value) ? 1 : 0;
}

// Service 2: an array literal is copied out before it is changed in place.
void DetachConstantArray(int32_t elementSize, void** slot) {
  if (!slot || !InConstantArea(*slot)) return;
  int32_t* h = static_cast<int32_t*>(*slot);
  int32_t header = 4 * (1 + (h[0] > 0 ? h[0] : 0));
  int64_t bytes = header + static_cast<int64_t>(ArrayElementCount(h)) * elementSize;
  void* copy = AllocateMemory(bytes > INT32_MAX ? -1 : static_cast<int32_t>(bytes));
  memcpy(copy, h, static_cast<size_t>(bytes));
  *slot = copy;
}

intptr_t CallInternalService(int32_t service, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  switch (service) {
    case kFindFileStep:
      return reinterpret_cast<intptr_t>(FindFileStep(reinterpret_cast<const char*>(a),
                                                     static_cast<uint32_t>(b), c != 0,
                                                     reinterpret_cast<void**>(d)));
    case kFindFileClose: FindFileClose(reinterpret_cast<void*>(a)); return 0;
    case kDetachConstantArray:
      DetachConstantArray(static_cast<int32_t>(a), reinterpret_cast<void**>(b));
      return 0;
    case kRegisterExitRoutine:
      RegisterExitRoutine(reinterpret_cast<ExitRoutine>(a));
      return 0;
    case kGetObjectProperty:
      return GetObjectPropertyEntry(static_cast<uint32_t>(a), reinterpret_cast<UnitObject*>(b),
                                    static_cast<int32_t>(c), reinterpret_cast<TaggedValue*>(d));
    case kSetObjectProperty:
      return SetObjectPropertyEntry(static_cast<uint32_t>(a), reinterpret_cast<UnitObject*>(b),
                                    static_cast<int32_t>(c),
                                    reinterpret_cast<const TaggedValue*>(d));
    case kInitialiseRuntime: InitialiseRuntime(); return 0;
    default: return 0;
  }
}

}  // namespace

const RuntimeHelperTable& HelperTable() {
  static const RuntimeHelperTable table = {
      0,
      ReportRuntimeErrorCode,
      ResolveDllCommand,
      CallLibrary,
      CallCommand,
      GetUnitPropertyEntry,
      SetUnitPropertyEntry,
      AllocateMemory,
      ReallocateMemory,
      FreeMemory,
      EndProgram,
      RunMessageLoopEntry,
      LoadStartupWindowEntry,
      CallInternalService,
  };
  return table;
}

}  // namespace qx
