// The window-description table: the templates parsed at start-up, and the
// way from a record's type tag to its kind through the program's libraries.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/UnitKind.h"
#include "ui/UnitRecord.h"

namespace qx {

// Parses the block, fixes the bindings up against the code base and makes
// the result the table. False (table left empty) when the block is malformed.
bool LoadWindowDescriptions(const void* block, uint32_t length, const void* codeBase);
// Empties the table (teardown).
void FreeWindowDescriptions();

std::vector<WindowTemplate>& WindowTemplates();
WindowTemplate* FindWindowTemplate(uint32_t windowId);

// The kind of a (library << 16 | type) tag, or null when the library or the
// type is not there.
const UnitKind* KindOfTag(uint32_t tag);

// The record's live object, or null.
inline UnitObject* LiveUnit(const UnitRecord& r) { return static_cast<UnitObject*>(r.live); }
// A window is alive while its own record holds a live object.
bool WindowIsAlive(const WindowTemplate& w);

}  // namespace qx
