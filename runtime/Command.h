// The library command convention: a result record, the argument count and
// the first of the contiguous argument records. Commands never free their
// arguments; what they return is new and belongs to the caller.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

using CommandFn = void (*)(TaggedValue* result, int32_t count, TaggedValue* args);

// Zeroes a result record and calls the command, as the calling entries do.
TaggedValue CallCommand(CommandFn command, int32_t count, TaggedValue* args);

// Argument readers. An argument is omitted when it is past the count or its
// tag is 0.
bool ArgOmitted(int32_t count, const TaggedValue* args, int32_t i);
// The text of argument i; null when omitted or not a text. A by-reference
// argument is read through its variable.
const char* ArgText(int32_t count, const TaggedValue* args, int32_t i);
// A number argument as an integer (fraction cut off); fallback when omitted
// or not a number.
int32_t ArgInt(int32_t count, const TaggedValue* args, int32_t i, int32_t fallback);
bool ArgIsNumber(int32_t count, const TaggedValue* args, int32_t i);
// The value itself, with a by-reference argument read through its variable.
TaggedValue ArgValue(int32_t count, const TaggedValue* args, int32_t i);

// The runtime's own value-to-integer conversion (kRequestValueToInt):
// false when the value is no number.
bool ValueToInt32(const TaggedValue& v, int32_t* out);

}  // namespace qx
