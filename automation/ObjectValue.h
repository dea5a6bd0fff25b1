// What the runtime knows about object values beyond their block: which
// value types convert like 对象, and the clearing request (2035) that
// support libraries send through the runtime's service entry.
#pragma once

#include <cstdint>

namespace qx {

// 对象 itself, or a type whose type-table entry carries the object-compatible
// bit. The by-reference flag is ignored.
bool IsObjectCompatibleTag(uint32_t tag);

// Makes request 2035 empty the object value whose block it is given.
// Idempotent; the engine also calls it before it first needs the request.
void InstallObjectService();

}  // namespace qx
