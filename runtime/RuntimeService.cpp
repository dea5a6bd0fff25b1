#include "runtime/RuntimeService.h"

#include "runtime/Command.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/Text.h"

namespace qx {
namespace {

intptr_t Word(const void* p) { return reinterpret_cast<intptr_t>(p); }
uint32_t Id(intptr_t word) { return static_cast<uint32_t>(word); }

// The requests the window runtime answers; false when `code` is not one.
bool WindowRequest(const WindowRuntimeHooks& w, int32_t code, intptr_t a, intptr_t b,
                   intptr_t* answer) {
  switch (code) {
    case kRequestUnitDestroyed: w.unitDestroyed(Id(a), Id(b)); return true;
    case kRequestFindLiveUnit: *answer = Word(w.findLiveUnit(Id(a), Id(b))); return true;
    case kRequestRequireLiveUnit: *answer = Word(w.requireLiveUnit(Id(a), Id(b))); return true;
    case kRequestRaiseEvent:
      *answer = w.raiseEvent(reinterpret_cast<EventRecord*>(a));
      return true;
    case kRequestSuspendEvents: w.suspendEvents(); return true;
    case kRequestResumeEvents: w.resumeEvents(); return true;
    case kRequestRunningEventSource: {
      // The running event's source: the window's identifier, and the unit's
      // written to the word that the first argument points at (if any).
      uint32_t window = 0, unit = 0;
      bool running = w.runningEventSource(&window, &unit);
      if (a) *reinterpret_cast<uint32_t*>(a) = unit;
      *answer = running ? static_cast<intptr_t>(window) : 0;
      return true;
    }
    case kRequestProcessMessages: w.processMessages(); return true;
    case kRequestRaiseTypedEvent:
      *answer = w.raiseTypedEvent(reinterpret_cast<TypedEventRecord*>(a));
      return true;
    case kRequestWindowCount: *answer = w.windowCount(); return true;
    case kRequestWindowHandle:
      *answer = Word(w.windowHandle(static_cast<int32_t>(a)));
      return true;
    default: return false;
  }
}

}  // namespace

intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2) {
  intptr_t answer = 0;
  if (const WindowRuntimeHooks* w = WindowRuntime())
    if (WindowRequest(*w, code, arg1, arg2, &answer)) return answer;
  switch (code) {
    case kRequestValueToInt: {
      int32_t n = 0;
      const TaggedValue* v = reinterpret_cast<const TaggedValue*>(arg1);
      if (!v || !ValueToInt32(*v, &n)) ReportRuntimeError("欲转换数据类型不是数值", 0);
      return n;
    }
    case kRequestNothing: return 0;
    case kRequestProgramFolder: return Word(g_runtime.programFolder.c_str());
    case kRequestProgramName: return Word(g_runtime.programName.c_str());
    case kRequestFreeArray:
      FreeArray(reinterpret_cast<void*>(arg2), static_cast<uint32_t>(arg1));
      return 0;
    case kRequestAllocateMemory:
      return Word(arg2 ? TryAllocateMemory(static_cast<int32_t>(arg1))
                       : AllocateMemory(static_cast<int32_t>(arg1)));
    case kRequestFreeMemory: FreeMemory(reinterpret_cast<void*>(arg1)); return 0;
    case kRequestReallocateMemory:
      return Word(ReallocateMemory(reinterpret_cast<void*>(arg1), static_cast<int32_t>(arg2)));
    case kRequestReportError: ReportRuntimeError(reinterpret_cast<const char*>(arg1), 0);
    case kRequestEndProgram: EndProgram(static_cast<int32_t>(arg1));
    case kRequestRunMode: return static_cast<intptr_t>(g_runtime.runMode);
    case kRequestClearObject:
      if (const ObjectValueHooks* o = ObjectValues()) o->clearObject(reinterpret_cast<void*>(arg1));
      return 0;
    default: return 0;
  }
}

}  // namespace qx
