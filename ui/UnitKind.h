// A unit kind (a control kind, or the window) is a record of operations and
// a table of its own properties, and a library lists its kinds in a type
// table indexed by type number. The type-table entry also carries the
// kind's interface function, which hands the same operations out by number
// for a library built apart; the runtime itself calls the record.
//
// Text: GBK, through the "A" functions; UTF-16 only where a wide function
// must count characters (the selection, the drop of a web page's text),
// converted by runtime/encoding/Wide_win.h.
#pragma once

#include <array>
#include <cstddef>
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

using CreateControlFn = UnitObject* (*)(const CreateArgs&);
using NotifyFn = intptr_t (*)(UnitObject*, uint32_t message, uintptr_t wParam, intptr_t lParam);
using SetTypePropertyFn = bool (*)(UnitObject*, int32_t index, const RawProperty&);
using SettingsBlockFn = std::string (*)(UnitObject*);
using GetTypePropertyFn = void (*)(UnitObject*, int32_t index, RawProperty*);
using WantsKeyFn = bool (*)(UnitObject*, uint32_t key);
// Operation 9, a translation hook: `visit` sees every text of a type block
// and may change it; the block is written anew only when a text changed.
// False when the block cannot be read (it is then left as it was).
using TextVisitorFn = void (*)(std::string* text, void* context);
using VisitTextsFn = bool (*)(std::string* typeBlock, TextVisitorFn visit, void* context);

// A kind's operations; null where the kind has none. Own properties are
// given by index, the property number minus 8.
struct UnitOperations {
  CreateControlFn createControl = nullptr;
  // Reflected WM_COMMAND / WM_CTLCOLOR* messages and the notifications below.
  NotifyFn notify = nullptr;
  // Stores the value; true when the control has to be re-created for it.
  SetTypePropertyFn setTypeProperty = nullptr;
  // The current settings as a type block, for re-creation.
  SettingsBlockFn settingsBlock = nullptr;
  GetTypePropertyFn getTypeProperty = nullptr;
  // Whether the focused control keeps a key from the window's handling.
  WantsKeyFn wantsKey = nullptr;
  VisitTextsFn visitTexts = nullptr;
};

// The operation numbers of the interface function.
enum UnitOperation : int32_t {
  kOpCreateControl = 1,
  kOpNotify = 2,
  kOpSetTypeProperty = 4,
  kOpSettingsBlock = 5,
  kOpGetTypeProperty = 6,
  kOpWantsKey = 8,
  kOpVisitTexts = 9,
};

using UnitInterfaceFn = void* (*)(int32_t operation);

// The function of operation `op` of the record as the interface function
// hands it out, or null. NumberedInterface<kOps> is a kind's interface
// function over its record kOps.
void* OperationByNumber(const UnitOperations& ops, int32_t op);
template <const UnitOperations& Ops>
void* NumberedInterface(int32_t op) {
  return OperationByNumber(Ops, op);
}

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
  UnitInterfaceFn operationByNumber;           // the kind's interface function
  const UnitOperations* operations = nullptr;  // null: a kind without operations
};

// A kind with its own properties and its record of operations, the
// interface function made from that record.
template <const UnitOperations& Ops, size_t N>
constexpr UnitKind MakeUnitKind(const char* name, const char* englishName, uint32_t state,
                                const std::array<PropertyInfo, N>& properties) {
  return {name, englishName, state, properties.data(), static_cast<int32_t>(N),
          NumberedInterface<Ops>, &Ops};
}

// The kind's operations; an empty record for a null kind or one without.
inline const UnitOperations& OperationsOf(const UnitKind* kind) {
  static constexpr UnitOperations kNone = {};
  return kind && kind->operations ? *kind->operations : kNone;
}

// A library's kinds; the runtime's library record points at it.
struct TypeTable {
  int32_t count;
  const UnitKind* const* kinds;  // by type number - 1; null: not built
};
}  // namespace qx
