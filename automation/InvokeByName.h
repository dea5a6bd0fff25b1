// The late-bound call engine behind the object value's commands: a member
// of an automation object named by a text, bound against the object's own
// type information on every call (nothing is cached), called with the
// runtime's tagged values as arguments.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

enum InvokeKind : int32_t { kInvokeRead = 1, kInvokeWrite = 2, kInvokeCall = 3 };

// args[0]: the object value; args[1]: the member name (text); args[2...]: the
// member's arguments in declaration order (tag 0: omitted; bit 29: the value
// word is the address of the caller's variable, written back for out
// parameters). result->tag is the type wanted (0: discard the value). On
// failure the result is reset (0, or a new empty object or variant block).
// Either way the outcome is left in LastAutomationStatus().
void InvokeByName(TaggedValue* result, int32_t count, TaggedValue* args, int32_t kind);

}  // namespace qx
