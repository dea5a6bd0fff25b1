// What a drop target decides without the system: the effect a drag gets
// from the keys held and what the source allows, the text of a list of
// dropped files, and the clean-up of dropped HTML.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// DROPEFFECT_* and MK_* values, by value, so that this stays portable.
enum : uint32_t {
  kDropNone = 0,
  kDropCopy = 1,
  kDropMove = 2,
  kDropLink = 4,
  kKeyShift = 0x4,
  kKeyControl = 0x8,
};

uint32_t DropEffectFor(bool accepted, uint32_t keyState, uint32_t allowed);

// One file: its path alone. Several: each path followed by CR LF.
std::string DroppedFilesText(const std::vector<std::string>& paths);

// Every no-break space (U+00A0) of the UTF-16 text becomes a space.
void ReplaceNoBreakSpaces(std::u16string* text);

}  // namespace qx
