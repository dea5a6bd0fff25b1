// The tags of the units and value types that this program's libraries
// define: (library << 16) | type number, both counted from 1, the libraries
// numbered in the order of the program's library list. A record of the
// window description starts with its kind's tag; a control argument and a
// value of a library type carry it.
#pragma once

#include <cstdint>

namespace qx {

// Places in the program's library list, from 1.
enum LibraryNumber : uint32_t {
  kCoreLibrary = 1,
  kSpreadsheetLibrary = 2,
  kDragDropLibrary = 6,
};

constexpr uint32_t MakeUnitTag(uint32_t library, uint32_t type) {
  return (library << 16) | (type & 0xFFFFu);
}
constexpr uint32_t TagLibrary(uint32_t tag) { return tag >> 16; }
constexpr uint32_t TagType(uint32_t tag) { return tag & 0xFFFFu; }

enum KindTag : uint32_t {
  kTagWindow = MakeUnitTag(kCoreLibrary, 1),
  kTagMenu = MakeUnitTag(kCoreLibrary, 3),
  kTagEditBox = MakeUnitTag(kCoreLibrary, 5),
  kTagLabel = MakeUnitTag(kCoreLibrary, 10),
  kTagButton = MakeUnitTag(kCoreLibrary, 11),
  kTagFileDialog = MakeUnitTag(kCoreLibrary, 31),
  kTagObject = MakeUnitTag(kCoreLibrary, 48),   // 对象, an automation object value
  kTagVariant = MakeUnitTag(kCoreLibrary, 49),  // pointer to a block holding one VARIANT
  kTagExcelApp = MakeUnitTag(kSpreadsheetLibrary, 1),
  kTagExcelWorkbooks = MakeUnitTag(kSpreadsheetLibrary, 2),
  kTagDropTarget = MakeUnitTag(kDragDropLibrary, 1),
};

}  // namespace qx
