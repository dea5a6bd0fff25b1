// What the layers above hand the core so that it can answer for them
// without knowing windows or COM: one record from the window runtime, one
// from the automation library, each installed once by its owner before the
// runtime starts. Until one is installed the core answers as if there were
// no windows (or no object values): nothing is loaded, nothing is done.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

struct UnitObject;        // a live window or control
struct EventRecord;       // RaiseEvent's record
struct TypedEventRecord;  // RaiseTypedEvent's record

// The window runtime: every entry is set.
struct WindowRuntimeHooks {
  // Helper-table entries 4, 5, 10 and 11.
  TaggedValue (*getUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t property,
                                 int32_t element);
  void (*setUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element,
                          uint32_t lo, uint32_t hi);
  void (*runMessageLoop)();
  bool (*loadStartupWindow)(uint32_t windowId);  // false: not found / not created
  // Internal services 4 and 5: a property of a unit held in a variable, by
  // its type tag and object; false when there is no such unit or property.
  bool (*getObjectProperty)(uint32_t typeTag, UnitObject* unit, int32_t property,
                            TaggedValue* out);
  bool (*setObjectProperty)(uint32_t typeTag, UnitObject* unit, int32_t property,
                            const TaggedValue& value);

  // The service entry's window requests (RuntimeRequest).
  void (*unitDestroyed)(uint32_t windowId, uint32_t unitId);
  UnitObject* (*findLiveUnit)(uint32_t windowId, uint32_t unitId);
  UnitObject* (*requireLiveUnit)(uint32_t windowId, uint32_t unitId);  // null: runtime error
  bool (*raiseEvent)(EventRecord* record);
  bool (*raiseTypedEvent)(TypedEventRecord* record);
  void (*suspendEvents)();
  void (*resumeEvents)();
  bool (*runningEventSource)(uint32_t* windowId, uint32_t* unitId);  // false: none runs
  void (*processMessages)();
  int32_t (*windowCount)();
  void* (*windowHandle)(int32_t index);  // HWND of that window while it is alive, else null

  // Start-up steps: OLE, the hidden owner window, the window descriptions
  // (false: the description block could not be read).
  void (*initialiseOle)();
  void (*createHiddenOwner)();
  bool (*loadWindowDescriptions)(const void* block, uint32_t length, const void* codeBase);

  // Teardown steps, in the order they run around the exit routines.
  bool (*marshalEndToMainThread)(int32_t code);  // true: another thread's end was handed over
  void (*clearIdleCallbacks)();
  void (*freeWindowDescriptions)();
  void (*destroyHiddenOwner)();
  void (*releaseRemainingObjects)();
  void (*uninitialiseOle)();
};

// The automation library: kRequestClearObject empties an object value,
// which takes releasing what it holds.
struct ObjectValueHooks {
  void (*clearObject)(void* objectBlock);
};

// Installing the same record again changes nothing; null takes it away.
void InstallWindowRuntimeHooks(const WindowRuntimeHooks* hooks);
void InstallObjectValueHooks(const ObjectValueHooks* hooks);
// The installed record, or null.
const WindowRuntimeHooks* WindowRuntime();
const ObjectValueHooks* ObjectValues();

}  // namespace qx
