// A unit kind (a control kind, or the window) is a table of operations that
// its library hands out by number through the kind's interface function,
// and a library lists its kinds in a type table indexed by type number.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

struct UnitKind;

// Every kind's live object starts with this, so that the runtime can reach
// the window handle and the identifiers of any live unit.
struct UnitObject {
  void* hwnd;  // HWND; null for kinds that have no window
  const UnitKind* kind;
  uint32_t windowId;
  uint32_t unitId;
};

// Arguments of CreateControl (operation 1).
struct CreateArgs {
  const std::string* typeBlock;
  uint32_t style;    // extra style bits from the loader (WS_DISABLED, WS_TABSTOP)
  void* parent;      // HWND; for the window: its owner
  int32_t childId;   // Win32 child identifier (controls)
  void* menu;        // HMENU (window only)
  int32_t left, top, width, height;
  uint32_t windowId, unitId;
  void* designWindow;  // always null here
  bool designMode;     // always false here
};

// A property's raw value between the runtime and a kind; the runtime
// converts it to and from the value words by the property's value-type code.
struct RawProperty {
  int32_t i = 0;
  double d = 0;
  std::string bytes;  // texts (without terminator), byte sets, fonts
};

enum UnitOperation : int32_t {
  kOpCreateControl = 1,  // UnitObject* (*)(const CreateArgs&)
  kOpNotify = 2,         // intptr_t (*)(UnitObject*, uint32_t msg, uintptr_t w, intptr_t l)
  kOpSetTypeProperty = 4,  // bool (*)(UnitObject*, int32_t index, const RawProperty&): true = re-create
  kOpSettingsBlock = 5,    // std::string (*)(UnitObject*): current settings as a type block
  kOpGetTypeProperty = 6,  // void (*)(UnitObject*, int32_t index, RawProperty*)
  kOpWantsKey = 8,         // bool (*)(UnitObject*, uint32_t virtualKey)
  kOpVisitTexts = 9,       // not provided by the kinds built so far
};

using CreateControlFn = UnitObject* (*)(const CreateArgs&);
using NotifyFn = intptr_t (*)(UnitObject*, uint32_t message, uintptr_t wParam, intptr_t lParam);
using SetTypePropertyFn = bool (*)(UnitObject*, int32_t index, const RawProperty&);
using SettingsBlockFn = std::string (*)(UnitObject*);
using GetTypePropertyFn = void (*)(UnitObject*, int32_t index, RawProperty*);
using WantsKeyFn = bool (*)(UnitObject*, uint32_t key);
using UnitInterfaceFn = void* (*)(int32_t operation);

// Notifications the runtime sends through kOpNotify besides reflected
// WM_COMMAND / WM_CTLCOLOR* messages.
enum : uint32_t {
  kNotifyWindowLoaded = 0x8000 + 100,
  kNotifyWindowShown = 0x8000 + 101,
};

// Value-type codes of properties.
enum : uint32_t {
  kValueInt = 1000,
  kValueInt2 = 1001,
  kValueDouble = 1002,
  kValueLogical = 1003,
  kValueDouble2 = 1004,
  kValueText = 1005,
  kValueChoice = 1006,
  kValuePicture = 1009,
  kValueIcon = 1010,
  kValuePointer = 1011,
  kValueSound = 1012,
  kValueFont = 1013,
  kValueColour = 1014,
  kValueBackColour = 1015,
  kValueColour2 = 1017,
  kValueData = 1023,
  kValueData2 = 1024,
};

enum : uint32_t { kPropertyRecreate = 1 };

struct PropertyInfo {
  const char* name;
  uint32_t valueType;
  uint32_t flags;
};

// State-word bits.
enum : uint32_t {
  kKindRaisesEvents = 0x40,
  kKindRaisesEventsToo = 0x04,
  kKindNeverRecreated = 0x10,
  kKindContainer = 0x100,
  kKindNonVisual = 0x8000,
  // A value type that the automation engine converts as an object value.
  kKindObjectCompatible = 0x01000000,
};

struct UnitKind {
  const char* name;
  const char* englishName;
  uint32_t state;
  const PropertyInfo* properties;  // own properties, from number 8
  int32_t propertyCount;
  UnitInterfaceFn operations;  // the kind's interface: operations by number
};

// A library's kinds; the runtime's library record points at it.
struct TypeTable {
  int32_t count;
  const UnitKind* const* kinds;  // by type number - 1; null: not built
};
}  // namespace qx
