// The runtime helper table: the application's one way into the runtime.
// A reserved word, then thirteen entries in a fixed order; the application
// reaches each through a stub of its own, and the order never changes.
#pragma once

#include <cstdint>

#include "runtime/Command.h"
#include "runtime/Value.h"

namespace qx {

struct RuntimeHelperTable {
  uint32_t reserved;  // always 0

  // 0: reports runtime error `code` (1..11) with its message; never returns.
  [[noreturn]] void (*reportRuntimeErrorCode)(int32_t code);
  // 1: resolves declared DLL function `index` (loading its library on first
  // use) and returns its address for the caller's stub to jump to with the
  // caller's own arguments; an unresolvable function is a runtime error.
  void* (*callDllCommand)(int32_t index);
  // 2: calls a support library's command; `libraryIndex` (the library's
  // place in the program's list, from 0) is carried but not used.
  TaggedValue (*callLibraryCommand)(CommandFn command, int32_t libraryIndex, int32_t count,
                                    TaggedValue* args);
  // 3: calls a core library command: zeroes a result record, calls, hands
  // the three words back.
  TaggedValue (*callCoreCommand)(CommandFn command, int32_t count, TaggedValue* args);
  // 4: a unit's property (element -1: none); a text result is new and owned
  // by the caller.
  TaggedValue (*getUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t property,
                                 int32_t element);
  // 5: writes a unit's property from the value words.
  void (*setUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t property,
                          int32_t element, uint32_t lo, uint32_t hi);
  // 6, 7, 8: the value heap; 6 and 7 never return null.
  void* (*allocateMemory)(int32_t size);
  void* (*reallocateMemory)(void* p, int32_t size);
  void (*freeMemory)(void* p);
  // 9: teardown, then the process ends with the code.
  [[noreturn]] void (*endProgram)(int32_t code);
  // 10: runs the message loop until it ends.
  void (*runMessageLoop)();
  // 11: creates and shows the start-up window; failure is a runtime error.
  void (*loadStartupWindow)(uint32_t windowId);
  // 12: internal service `service` with up to four argument words.
  intptr_t (*callInternalService)(int32_t service, intptr_t a, intptr_t b, intptr_t c,
                                  intptr_t d);
};

const RuntimeHelperTable& HelperTable();

// Internal services (entry 12). Services 4 and 5 take (type tag, unit
// object, property number, TaggedValue*): 4 writes the property's value to
// the record pointed at (a text or byte set in it is the caller's), 5 writes
// the property from the value there; each answers 1 when it found the
// property, 0 otherwise. The window runtime answers them for its kinds.
enum InternalService : int32_t {
  kFindFileStep = 0,
  kFindFileClose = 1,
  kDetachConstantArray = 2,
  kRegisterExitRoutine = 3,
  kGetObjectProperty = 4,
  kSetObjectProperty = 5,
  kInitialiseRuntime = 6,
};

}  // namespace qx
