// The request entry through which support libraries reach the runtime.
#pragma once

#include <cstdint>

namespace qx {

// Request codes of RuntimeService; the numbers are fixed, libraries built
// apart send them. arg1 and arg2 as each line says.
enum RuntimeRequest : int32_t {
  kRequestUnitDestroyed = 2000,      // window, unit (0: the window): its live object is gone
  kRequestValueToInt = 2001,         // TaggedValue*: as a 32-bit integer, or a runtime error
  kRequestNothing = 2002,            // answers 0
  kRequestProgramFolder = 2003,      // without a trailing backslash
  kRequestProgramName = 2004,
  kRequestFindLiveUnit = 2006,       // window, unit: the live unit object, or null
  kRequestRequireLiveUnit = 2007,    // as 2006, but null is a runtime error
  kRequestRaiseEvent = 2008,         // EventRecord*
  kRequestSuspendEvents = 2009,
  kRequestResumeEvents = 2010,
  kRequestRunningEventSource = 2017,  // uint32_t* for the unit: the window, or 0
  kRequestProcessMessages = 2018,    // dispatches the waiting window messages
  kRequestFreeArray = 2023,          // element tag, array
  kRequestAllocateMemory = 2024,     // size, quiet flag (non-zero: null instead of an error)
  kRequestFreeMemory = 2025,         // pointer
  kRequestReallocateMemory = 2026,   // pointer, size
  kRequestReportError = 2027,        // message text: a runtime error
  kRequestEndProgram = 2028,         // exit code
  kRequestRunMode = 2030,
  kRequestRaiseTypedEvent = 2031,    // TypedEventRecord*
  kRequestWindowCount = 2032,        // windows in the description table
  kRequestWindowHandle = 2033,       // window index from 0: its handle while alive, else 0
  kRequestClearObject = 2035,        // the address of an object value's block: emptied
};

// One request code, two argument words, one word back. The window requests
// are answered by the window runtime and 2035 by the automation library,
// through the records they install (RuntimeHooks.h); the core answers the
// rest. This is the way in for a library built apart: code of the runtime's
// own layers calls the function behind a request itself.
intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2);

}  // namespace qx
