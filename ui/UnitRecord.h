// The parsed form of a window description: one template per window, one
// record per unit (the window itself, its controls, its menu items).
//
// The template's records are the runtime's record of every unit for as long
// as the program runs: the live-object slot, and every property the program
// writes, go into them. Loading a window keeps a copy, and the copy comes
// back when the window goes, so that a later load starts from the stored
// settings again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// An identifier is valid when both its low 24 bits and bits 24-27 are set;
// an invalid one names nothing, and a lookup by it finds nothing.
constexpr bool IsValidUnitId(uint32_t id) {
  return (id & 0x00FFFFFFu) != 0 && (id & 0x0F000000u) != 0;
}

// Bits 28-31 of an identifier: what it names.
enum IdClass : uint32_t {
  kIdClassWindowRecord = 0x0,  // a window's own record
  kIdClassControl = 0x1,
  kIdClassMenuItem = 0x2,
  kIdClassWindow = 0x5,  // the window itself, in the window list
};
constexpr uint32_t IdClassOf(uint32_t id) { return id >> 28; }

// A record is a menu item by its identifier alone: bits 24-27 hold 6 and
// the class is the menu item's.
constexpr bool IsMenuItemId(uint32_t id) {
  return (id & 0x0F000000u) == 0x06000000u && IdClassOf(id) == kIdClassMenuItem;
}

// Handler offset that binds nothing.
constexpr uint32_t kNoHandler = 0xFFFFFFFFu;

struct EventBinding {
  int32_t event;
  uint32_t offset;     // as stored, relative to the application's code
  uintptr_t handler;   // after fix-up: the handler's address, 0 for none
};

// Record flag bits.
enum : uint32_t {
  kUnitVisible = 1,
  kUnitDisabled = 2,
  kUnitTabStop = 4,
  kUnitMenuOption = 8,  // the window's own record only; carried, nothing acts on it
};

// A menu item's flags word shares the first two bits with a control's.
enum : uint32_t {
  kMenuVisible = kUnitVisible,
  kMenuDisabled = kUnitDisabled,
  kMenuChecked = 4,
  kMenuSeparator = 8,  // a dividing line; caption and handler unused
};

// A menu item's shortcut word: the virtual-key code in the low 16 bits
// (0: none) and the modifier keys above.
enum : uint32_t {
  kShortcutKeyMask = 0xFFFF,
  kShortcutCtrl = 0x10000,
  kShortcutShift = 0x20000,
  kShortcutAlt = 0x40000,
};

struct UnitRecord {
  uint32_t id = 0;
  uint32_t typeTag = 0;
  uint32_t eventSource = 0;  // another unit of the same kind whose bindings serve this one
  uint32_t reserved[4] = {};
  std::string name;
  std::string remark;

  // Menu items keep 36 bytes, a caption and one handler instead of the
  // rest (layout in Description.h); their flags go to `flags`.
  bool menuItem = false;
  uint32_t menuLevel = 0;  // 0: in the menu bar; n + 1: under the last item of level n
  uint32_t menuShortcut = 0;
  uint32_t menuReserved[5] = {};
  std::string menuCaption;

  void* live = nullptr;    // the created unit object while it exists (menu items too)
  int32_t left = 0, top = 0, width = 0, height = 0;
  void* cursor = nullptr;  // the created mouse pointer
  uint32_t container = 0;  // 0: the window
  std::vector<uint32_t> children;  // of a container; 0 separates pages
  std::string cursorData;          // stored mouse-pointer setting
  std::string tagText;             // common property 4
  uint32_t wordBeforeFlags = 0;
  uint32_t flags = 0;
  uint32_t wordAfterFlags = 0;
  std::vector<EventBinding> bindings;
  uint32_t tail[5] = {};
  std::string typeBlock;  // the kind's own settings; empty: all defaults
};

struct WindowTemplate {
  uint32_t id = 0;
  uint32_t words[2] = {};
  std::string texts[2];
  std::vector<UnitRecord> records;  // record 0 is the window's own
  // The records as they were when the live window was loaded.
  std::vector<UnitRecord> saved;
  bool loaded = false;   // the load ran to its end
  bool modal = false;    // in a modal run
};

// First record with the identifier, or null. Control 0 stands for the
// window's own record.
UnitRecord* FindUnitRecord(WindowTemplate& window, uint32_t unitId);
int32_t FindUnitIndex(const WindowTemplate& window, uint32_t unitId);

}  // namespace qx
