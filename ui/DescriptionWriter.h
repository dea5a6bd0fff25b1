// Producing description blocks: the program's own windows are kept as
// readable data and turned into the stored bytes by this writer, and tests
// make their windows the same way.
#pragma once

#include <string>
#include <vector>

#include "ui/UnitRecord.h"

namespace qx {

// One record's bytes, without its length word. Live slots are written as 0.
std::string WriteUnitRecord(const UnitRecord& record);

// A unit's record as a description starts out: identity, rectangle, flags,
// the standard arrow pointer and the kind's settings; bindings are added
// after.
UnitRecord MakeUnitRecord(uint32_t id, uint32_t typeTag, const char* name, int32_t left,
                          int32_t top, int32_t width, int32_t height, uint32_t flags,
                          std::string typeBlock = {});

// A menu item's record (its layout in Description.h): `level` 0 in the
// menu bar, deeper under the item before it; flags kMenu*, the shortcut a
// virtual key with kShortcut* modifiers; kNoHandler for none.
UnitRecord MakeMenuItemRecord(uint32_t id, const char* name, const char* caption, uint32_t level,
                              uint32_t flags, uint32_t shortcut = 0,
                              uint32_t handlerOffset = kNoHandler);

// The record area of one window: identifiers, offsets, records.
std::string WriteRecordArea(const WindowTemplate& window);

// The whole block, windows in order.
std::string WriteDescription(const std::vector<WindowTemplate>& windows);

}  // namespace qx
