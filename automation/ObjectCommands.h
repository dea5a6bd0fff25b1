// The core library's commands on object values (command convention of
// runtime/Command.h).
#pragma once

#include "runtime/Command.h"

namespace qx {

// (object, member name, optional arguments...): the property as a double;
// 0.0 when the read fails.
void ReadNumberProperty(TaggedValue* result, int32_t count, TaggedValue* args);
// (object, member name, optional arguments...): the property as a new object
// value; an empty one when the read fails.
void ReadObjectProperty(TaggedValue* result, int32_t count, TaggedValue* args);
// (object): empties the object value; its block stays with the caller.
void ClearObject(TaggedValue* result, int32_t count, TaggedValue* args);

}  // namespace qx
