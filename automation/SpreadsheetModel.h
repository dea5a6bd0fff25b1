// The numbers of the spreadsheet application's object model that this
// program and our own server use: member DISPIDs, as a client calls them
// early-bound (the type library of our server gives its members the same
// ones), and the constants of Range.Find.
#pragma once

#include <cstdint>

namespace qx::model {

// Members, by DISPID.
enum Member : int32_t {
  kValue = 0x6,
  kName = 0x6E,
  kCount = 0x76,
  kFont = 0x92,
  kApplication = 0x94,
  kItem = 0xAA,
  kAdd = 0xB5,
  kRange = 0xC5,
  kColumn = 0xF0,
  kRow = 0x101,
  kClose = 0x115,
  kSave = 0x11B,
  kQuit = 0x12E,
  kActivate = 0x130,
  kFind = 0x18E,
  kSheets = 0x1E5,
  kIndex = 0x1E6,
  kWorkbooks = 0x23C,
  kOpen = 0x2AA,
  kActiveWindow = 0x2F7,
};

// Font.Underline: a style, not a logical; True written is the single line.
enum UnderlineStyle : int32_t { kUnderlineNone = -4142, kUnderlineSingle = 2 };

// Application events, by DISPID. The "before" ones end with the
// application's question to its sinks: a logical by reference that a sink
// sets to keep it from going on.
enum AppEvent : int32_t {
  kSheetActivate = 0x619,
  kSheetDeactivate = 0x61A,
  kNewWorkbook = 0x61D,
  kWorkbookOpen = 0x61F,
  kWorkbookActivate = 0x620,
  kWorkbookDeactivate = 0x621,
  kWorkbookBeforeClose = 0x622,
  kWorkbookBeforeSave = 0x623,
  kWorkbookBeforePrint = 0x624,
  kWorkbookNewSheet = 0x625,
};

// Find's arguments.
enum FindLookIn : int32_t {
  kLookInFormulas = -4123,  // what cells hold: constants and formulas
  kLookInValues = -4163,    // what cells display
  kLookInComments = -4144,
};
enum FindLookAt : int32_t { kLookAtWhole = 1, kLookAtPart = 2 };
enum FindOrder : int32_t { kByRows = 1, kByColumns = 2 };
enum FindDirection : int32_t { kNext = 1, kPrevious = 2 };

// How many arguments Find takes at most (What through SearchFormat).
constexpr unsigned kFindArguments = 9;

}  // namespace qx::model
