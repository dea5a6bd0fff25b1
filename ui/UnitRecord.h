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

// An identifier is valid when both its low 24 bits and bits 24-27 are set.
constexpr bool IsValidUnitId(uint32_t id) {
  return (id & 0x00FFFFFFu) != 0 && (id & 0x0F000000u) != 0;
}
constexpr bool IsMenuItemId(uint32_t id) {
  return (id & 0x0F000000u) == 0x06000000u && (id & 0xF0000000u) == 0x20000000u;
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
  kUnitMenuOption = 8,
};

struct UnitRecord {
  uint32_t id = 0;
  uint32_t typeTag = 0;
  uint32_t eventSource = 0;  // another unit of the same kind whose bindings serve this one
  uint32_t reserved[4] = {};
  std::string name;
  std::string remark;

  // Menu items keep 36 bytes, a caption and one handler instead of the rest.
  bool menuItem = false;
  std::string menuBytes;
  std::string menuCaption;

  void* live = nullptr;    // the created unit object while it exists
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
