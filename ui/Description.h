// Reading the window-description block that the program header points at.
//
// Layout: u32 window-list length L (8 per window), the window identifiers,
// one slot per window (ignored), then each window: two words, two counted
// texts, u32 record count N, u32 record-area length M, then the record area:
// N identifiers, N offsets counted from the end of those two arrays, and the
// records, each a u32 length and that many bytes.
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
