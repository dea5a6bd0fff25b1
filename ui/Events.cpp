#include "ui/Events.h"

#include <vector>

#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

struct EventSource {
  bool running = false;
  uint32_t windowId = 0, unitId = 0;
};
EventSource g_source;
int g_running = 0;  // handlers on the stack

// Calls the handler at `address`; a nested event's source gives way to the
// outer one again when the nested handler returns.
void CallHandler(uintptr_t address, const std::vector<uintptr_t>& words, TaggedValue* result,
                 const EventSource& outer) {
  EventHandlerFn fn = *reinterpret_cast<const EventHandlerFn*>(address);
  *result = {0, 0, 0};
  ++g_running;
  if (fn) fn(result, static_cast<int32_t>(words.size()), words.data());
  --g_running;
  g_source = g_running > 0 ? outer : EventSource{};
}

}  // namespace

void SuspendEvents() { ++g_runtime.eventsSuspended; }
void ResumeEvents() {
  if (g_runtime.eventsSuspended > 0) --g_runtime.eventsSuspended;
}

bool RunningEventSource(uint32_t* windowId, uint32_t* unitId) {
  if (windowId) *windowId = g_source.windowId;
  if (unitId) *unitId = g_source.unitId;
  return g_source.running;
}

uintptr_t FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t event) {
  if (g_runtime.eventsSuspended >= 1) return 0;
  WindowTemplate* w = FindWindowTemplate(windowId);
  if (!w) ReportRuntimeError("未找到引发事件的窗口", 0);
  int32_t index = FindUnitIndex(*w, unitId);
  if (index < 0) ReportRuntimeError("未找到引发事件的窗口组件", 0);
  // Follow the event source to the record whose bindings serve this one.
  // Sources could name each other in a ring; a chain longer than the
  // record count is one, and it ends where it stands.
  const UnitRecord* r = &w->records[index];
  for (size_t steps = 0; r->eventSource && steps < w->records.size(); ++steps) {
    int32_t next = FindUnitIndex(*w, r->eventSource);
    if (next < 0 || w->records[next].typeTag != r->typeTag) break;
    r = &w->records[next];
  }
  const UnitKind* kind = KindOfTag(r->typeTag);
  if (!r->menuItem &&
      (!kind || !(kind->state & (kKindRaisesEvents | kKindRaisesEventsToo))))
    ReportRuntimeError("引发事件的窗口组件无效", 0);
  uintptr_t handler = 0;
  if (r->menuItem) {
    handler = r->bindings.empty() ? 0 : r->bindings[0].handler;
  } else {
    // An entry that binds nothing must not hide a later real binding of the
    // same event.
    for (const EventBinding& b : r->bindings)
      if (b.event == event && b.handler) {
        handler = b.handler;
        break;
      }
  }
  if (!handler) return 0;
  g_source = {true, windowId, unitId};
  return handler;
}

bool RaiseEvent(EventRecord* e) {
  EventSource outer = g_source;
  uintptr_t handler = FindEventHandler(e->windowId, e->unitId, e->event);
  if (!handler) return false;
  uint32_t n = e->argCount > 5 ? 5 : e->argCount;
  std::vector<uintptr_t> words(e->args, e->args + n);
  TaggedValue result;
  CallHandler(handler, words, &result, outer);
  if (result.tag != 0) {
    e->hasResult = 1;
    e->result = reinterpret_cast<uintptr_t>(ValuePointer(result));
  }
  return true;
}

bool RaiseTypedEvent(TypedEventRecord* e) {
  EventSource outer = g_source;
  uintptr_t handler = FindEventHandler(e->windowId, e->unitId, e->event);
  if (!handler) return false;
  uint32_t n = e->argCount > 12 ? 12 : e->argCount;
  std::vector<uintptr_t> words;
  for (uint32_t i = 0; i < n; ++i) {
    const TypedEventArg& a = e->args[i];
    TaggedValue v = {a.lo, a.hi, a.tag};
    uint32_t tag = BaseTag(a.tag);
    if (a.flags & kEventArgAddress) {
      words.push_back(reinterpret_cast<uintptr_t>(ValuePointer(v)));
    } else if ((a.flags & kEventArgTwoWords) || a.tag == kTagMenu || tag == kTagLong ||
               tag == kTagDouble || tag == 0x80000003 || tag == 0x80000008) {
      words.push_back(a.lo);
      words.push_back(a.hi);
    } else if (tag == kTagByte) {
      words.push_back(a.lo & 0xFF);
    } else if (tag == kTagShort) {
      words.push_back(static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int16_t>(a.lo))));
    } else {
      // One word; a pointer-sized one, so that texts and other blocks arrive
      // whole on a wider build.
      words.push_back(reinterpret_cast<uintptr_t>(ValuePointer(v)));
    }
  }
  TaggedValue result;
  CallHandler(handler, words, &result, outer);
  if (result.tag != 0) {
    e->hasResult = 1;
    e->resultLo = result.lo;
    e->resultHi = result.hi;
  }
  return true;
}

bool RaiseSimpleEvent(uint32_t windowId, uint32_t unitId, int32_t event, bool* hasResult,
                      uintptr_t* result) {
  EventRecord e = {windowId, unitId, event, 0, {}, 0, 0};
  bool ran = RaiseEvent(&e);
  if (hasResult) *hasResult = e.hasResult != 0;
  if (result) *result = e.result;
  return ran;
}

}  // namespace qx
