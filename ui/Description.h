// Reading the window-description block that the program header points at.
//
// Layout: u32 window-list length L (8 per window), the window identifiers,
// one slot per window (ignored), then each window: two words, two counted
// texts, u32 record count N, u32 record-area length M, then the record area:
// N identifiers, N offsets counted from the end of those two arrays, and the
// records, each a u32 length and that many bytes.
//
// A record starts with its kind's tag, its event source, four words, a
// zero-terminated name and a zero-terminated remark. A control's record
// goes on with its geometry, flags, bindings and type block (UnitRecord.h).
// A menu item's record (IsMenuItemId) ends instead with 36 bytes, its
// zero-terminated caption and one u32 handler offset. The 36 bytes are nine
// u32 words:
//   0    live-object slot, 0 when stored
//   1    level: 0 for an entry of the menu bar, n + 1 for an entry of the
//        popup that the nearest earlier item of level n opens
//   2    flags: kMenuVisible, kMenuDisabled, kMenuChecked, kMenuSeparator
//   3    shortcut: virtual-key code in bits 0-15 (0: none), kShortcutCtrl,
//        kShortcutShift, kShortcutAlt above
//   4-8  0, carried unchanged
// Menu items are found in record order; an item followed by items of a
// deeper level opens a popup of them.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/UnitRecord.h"

namespace qx {

// Parses a whole block. False when any read runs past the end of the block
// (or of a record) or the counts contradict each other; `out` is then left
// unspecified.
bool ParseDescription(const void* block, uint32_t length, std::vector<WindowTemplate>* out);

// One record's bytes (after its length word) into `record`.
bool ParseUnitRecord(uint32_t id, const unsigned char* bytes, uint32_t length, UnitRecord* record);

// Where a handler lives. The application's code is a table of handler entry
// points and an offset counts bytes into it at four per entry, as on the
// 32-bit product; a wider pointer only widens the step.
uintptr_t HandlerAddress(const void* codeBase, uint32_t offset);

// Turns every stored offset into an address (none: 0), once, after parsing.
void FixUpBindings(std::vector<WindowTemplate>& windows, const void* codeBase);

}  // namespace qx
