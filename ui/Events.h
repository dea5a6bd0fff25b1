// Event dispatch: a unit that sees something happen fills an event record
// and the runtime finds the handler bound to it in the description and
// calls it.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

// A handler as the application's code table holds it: the argument words in
// the order they were pushed last-first (so the first argument comes first),
// and the result record, whose tag stays 0 when the handler returns nothing.
using EventHandlerFn = void (*)(TaggedValue* result, int32_t wordCount, const uintptr_t* words);

struct EventRecord {  // RaiseEvent, kRequestRaiseEvent
  uint32_t windowId;
  uint32_t unitId;  // 0 or the window's own record for the window itself
  int32_t event;
  uint32_t argCount;  // at most 5
  uintptr_t args[5];
  uint32_t hasResult;
  uintptr_t result;
};

enum : uint32_t {
  kEventArgAddress = 1,  // pass the low word alone, as an address
  kEventArgTwoWords = 2,
};

struct TypedEventArg {
  uint32_t lo, hi, tag, flags;
};

struct TypedEventRecord {  // RaiseTypedEvent, kRequestRaiseTypedEvent
  uint32_t windowId;
  uint32_t unitId;
  int32_t event;
  uint32_t argCount;  // at most 12
  TypedEventArg args[12];
  uint32_t hasResult;
  uint32_t resultLo, resultHi;
};

// Window events and the ones every kind shares.
enum : int32_t {
  kEventCreated = 0,
  kEventClicked = 0,
  kEventContentChanged = 0,
  kEventCloseRequest = 1,
  kEventDestroying = 2,
  kEventMoved = 3,
  kEventResized = 4,
  kEventIdle = 7,
  kEventQueryClose = 12,
  kEventGotFocus = -7,
  kEventLostFocus = -8,
};

// The handler's address (its entry in the code table) or 0. Unknown
// windows, units and kinds that raise no events are runtime errors.
uintptr_t FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t event);
bool RaiseEvent(EventRecord* record);
bool RaiseTypedEvent(TypedEventRecord* record);

// Convenience for the kinds: an event without arguments; true when a
// handler ran, with its result word in *result when it gave one.
bool RaiseSimpleEvent(uint32_t windowId, uint32_t unitId, int32_t event,
                      bool* hasResult = nullptr, uintptr_t* result = nullptr);

// kRequestSuspendEvents / kRequestResumeEvents: the suppression counter
// (never below 0).
void SuspendEvents();
void ResumeEvents();

// kRequestRunningEventSource: the source of the running event; false when
// none runs.
bool RunningEventSource(uint32_t* windowId, uint32_t* unitId);

}  // namespace qx
