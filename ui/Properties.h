// Property access by (window, unit, property number), the helper table's
// entries 4 and 5. Numbers 0-7 are common to every kind (Left, Top, Width,
// Height, Tag, Visible, Disabled, Cursor); 8 and up are the kind's own.
#pragma once

#include <cstdint>

#include "runtime/Value.h"

namespace qx {

TaggedValue GetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element);
void SetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element,
                     uint32_t lo, uint32_t hi);

}  // namespace qx
