#include "runtime/RuntimeService.h"

#include "runtime/Command.h"
#include "runtime/Lifecycle.h"
#include "runtime/Memory.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace qx {
namespace {
WindowServiceFn g_windowService = nullptr;
ObjectClearFn g_objectClear = nullptr;
}

void SetWindowServiceHandler(WindowServiceFn handler) { g_windowService = handler; }
void SetObjectClearHandler(ObjectClearFn handler) { g_objectClear = handler; }

intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2) {
  intptr_t answer = 0;
  if (g_windowService && g_windowService(code, arg1, arg2, &answer)) return answer;
  switch (code) {
    case kRequestValueToInt: {
      int32_t n = 0;
      const TaggedValue* v = reinterpret_cast<const TaggedValue*>(arg1);
      if (!v || !ValueToInt32(*v, &n)) ReportRuntimeError("欲转换数据类型不是数值", 0);
      return n;
    }
    case kRequestNothing: return 0;
    case kRequestProgramFolder: return reinterpret_cast<intptr_t>(g_runtime.programFolder.c_str());
    case kRequestProgramName: return reinterpret_cast<intptr_t>(g_runtime.programName.c_str());
    case kRequestFreeArray:
      FreeArray(reinterpret_cast<void*>(arg2), static_cast<uint32_t>(arg1));
      return 0;
    case kRequestAllocateMemory:
      return reinterpret_cast<intptr_t>(arg2 ? TryAllocateMemory(static_cast<int32_t>(arg1))
                                             : AllocateMemory(static_cast<int32_t>(arg1)));
    case kRequestFreeMemory: FreeMemory(reinterpret_cast<void*>(arg1)); return 0;
    case kRequestReallocateMemory:
      return reinterpret_cast<intptr_t>(
          ReallocateMemory(reinterpret_cast<void*>(arg1), static_cast<int32_t>(arg2)));
    case kRequestReportError: ReportRuntimeError(reinterpret_cast<const char*>(arg1), 0);
    case kRequestEndProgram: EndProgram(static_cast<int32_t>(arg1));
    case kRequestRunMode: return static_cast<intptr_t>(g_runtime.runMode);
    case kRequestClearObject:
      if (g_objectClear) g_objectClear(reinterpret_cast<void*>(arg1));
      return 0;
    default: return 0;
  }
}

}  // namespace qx
