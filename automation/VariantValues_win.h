// Conversions between the runtime's tagged values and automation VARIANTs,
// and between its ANSI texts and UTF-16 (the system ANSI code page, so that
// a character the code page cannot hold becomes its default character).
#pragma once

#include <oaidl.h>

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

// A BSTR of the text; null for a null text.
BSTR BstrFromAnsi(const char* text);
// A new runtime text; null for an empty string.
char* TextFromWide(const wchar_t* text, int32_t length);

// `value` (already read through its variable when passed by reference) as a
// VARIANT for a parameter whose base type is `parameterType` (only object
// values look at it). False, with `out` empty, for a tag that cannot be
// passed. A record goes out pointing at the caller's record data, which the
// call only borrows: clear such a VARIANT with ClearArgumentVariant.
bool ValueToVariant(const TaggedValue& value, VARTYPE parameterType, VARIANT* out);
// True when ValueToVariant lends the caller's record data for this value.
bool LendsRecord(const TaggedValue& value);
// VariantClear, except that a lent record is not cleared (its data still
// belongs to the caller's object value): only its record information
// reference is dropped.
void ClearArgumentVariant(VARIANT* v, bool lentRecord);

// A new value of type `wantedTag` from the VARIANT; false when it cannot be
// converted (a record, a failing coercion, a tag with no VARIANT type).
// Object values come as a new block, texts as a new text.
bool VariantToValue(const VARIANT& in, uint32_t wantedTag, TaggedValue* out);
// The same, written over the variable at `variable` that holds a value of
// type `tag`: the old text is freed, an old object is emptied and its block
// reused, an old variant block is refilled.
// False (variable untouched) when the conversion fails.
bool WriteVariantBack(const VARIANT& in, uint32_t tag, void* variable);

// The value of a failed call: zero words, the tag kept; an object tag gets
// a new empty block and the variant tag a new zeroed variant block.
void ResetResult(TaggedValue* result);

}  // namespace qx
