// Property access by (window, unit, property number), the helper table's
// entries 4 and 5. Numbers 0-7 are common to every kind and the runtime
// answers them from the unit's record and its live window; 8 and up are the
// kind's own, numbered in the kind's header and handed to the kind by index
// (the number minus 8).
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/Value.h"

namespace qx {

enum CommonProperty : int32_t {
  kPropertyLeft = 0,      // integer, pixels in the container's client area
  kPropertyTop = 1,
  kPropertyWidth = 2,
  kPropertyHeight = 3,
  kPropertyTag = 4,       // text
  kPropertyVisible = 5,   // logical
  kPropertyDisabled = 6,  // logical
  kPropertyCursor = 7,    // byte set: mouse-pointer data
  kFirstOwnProperty = 8,
};

// How many own properties a kind has whose last is number `last`.
constexpr size_t OwnPropertyCount(int32_t last) {
  return static_cast<size_t>(last - kFirstOwnProperty + 1);
}

struct UnitObject;

TaggedValue GetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element);
void SetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element,
                     uint32_t lo, uint32_t hi);

// Internal services 4 and 5: an own property (numbered from 8, as above) of
// a unit held in a variable rather than placed on a window, given by its
// type tag and its object, read and written through the kind's operations
// and converted by the property's value type; a font crosses as the whole
// record. Such a unit has no record, so no common property, and no place
// to be re-created in. False, with nothing read or written, when the tag
// names no kind, the object is not one of that kind or the kind has no
// such property.
bool GetObjectProperty(uint32_t typeTag, UnitObject* unit, int32_t property, TaggedValue* out);
bool SetObjectProperty(uint32_t typeTag, UnitObject* unit, int32_t property,
                       const TaggedValue& value);

}  // namespace qx
