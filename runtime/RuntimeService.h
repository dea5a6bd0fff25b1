// The request entry through which support libraries reach the runtime.
#pragma once

#include <cstdint>

namespace qx {

// One request code, two argument words, one word back.
intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2);

// Requests that belong to the window runtime (2000, 2006-2010, 2017, 2018,
// 2031-2033 and the like) are answered by a handler it installs; the core
// answers the rest. Returns true when it answered.
using WindowServiceFn = bool (*)(int32_t code, intptr_t arg1, intptr_t arg2, intptr_t* answer);
void SetWindowServiceHandler(WindowServiceFn handler);

// Request 2035 (empty an automation object value; arg1 is the value, the
// address of its block) belongs to the automation library, which installs
// its handler here so that the core never sees COM.
using ObjectClearFn = void (*)(void* objectBlock);
void SetObjectClearHandler(ObjectClearFn handler);

}  // namespace qx
